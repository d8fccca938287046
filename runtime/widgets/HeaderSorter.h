#pragma once

#include "runtime/ColumnSorter.h"
#include "runtime/SortMemory.h"

#include <QObject>

class QHeaderView;
class QWidget;

namespace qaveq {

namespace data {
class Session;
}

// The column sorter on a list's headings: a click sorts on the column and a
// second click reverses it, Ctrl+click adds the column to the sort, Shift+click
// goes back to the list's own order. The headings show the sort ("Batch[+]",
// "Description[-2]"), and the sort is kept per user and list.
class HeaderSorter : public QObject
{
    Q_OBJECT

public:
    // `columns` name the row field each heading shows, in heading order.
    HeaderSorter(QHeaderView *header, QList<ColumnSorter::Column> columns, SortMemory memory,
                 QObject *parent = nullptr);

    // Where the user's sort of list `list` is kept: one INI file in the
    // suite's INI folder, a section per user and list.
    static SortMemory memoryFor(const data::Session &session, const QString &list);

    const ColumnSorter &sorter() const { return m_sorter; }
    // Presses heading `column` (0-based) as a click with `modifiers` does.
    void press(int column, Qt::KeyboardModifiers modifiers);
    // Back to the list's own order.
    void reset();
    // Sorts rows of fields by the sort; the list's own order without one.
    void sortRows(QList<QVariantList> &rows) const { m_sorter.sortRows(rows); }

Q_SIGNALS:
    void sortChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void changed();
    void showHeadings();

    QHeaderView *m_header;
    // Kept apart: while the view is taken down its viewport still sends
    // events, and the header can no longer be asked for it then.
    const QWidget *m_viewport;
    ColumnSorter m_sorter;
    SortMemory m_memory;
    Qt::KeyboardModifiers m_modifiers; // of the click being made
};

} // namespace qaveq

#pragma once

#include "runtime/forms/FormModel.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace qaveq {

class KeyedListModel;

// A list inside a form: the records of another file that belong to the
// form's record (read a page at a time in key order), or rows the form
// computes; with the buttons that add, change and delete a row through the
// row's own form, and the list's own buttons.
class FormChildList : public QWidget
{
    Q_OBJECT

public:
    using ProcedureCaller = std::function<void(const QString &procedure)>;

    FormChildList(forms::FormModel &model, const forms::Control &control, ProcedureCaller caller,
                  QWidget *parent = nullptr);
    ~FormChildList() override;

    // Reads the list again when what it depends on changed, or when `force`.
    void refresh(bool force = false);
    QTableView *view() const { return m_view; }
    // Add, Change, Delete and Send To, which every list has; they give way
    // to the screen's own buttons where their access keys meet.
    const QList<QPushButton *> &standardButtons() const { return m_standard; }
    int rowCount() const;
    // The highlighted row's record, read whole; nothing on a totals row.
    std::unique_ptr<data::Record> highlighted() const;
    // Adds, changes, deletes or views a row through the list's form.
    void call(data::Request request);
    // The rows as shown, for Send To.
    QList<QStringList> shownRows() const;

private:
    QList<QPushButton *> m_standard;
    QList<data::FieldValue> state() const;
    void sendTo();

    forms::FormModel &m_model;
    const forms::Control &m_control;
    ProcedureCaller m_caller;
    KeyedListModel *m_records = nullptr;      // a file's records...
    QStandardItemModel *m_computed = nullptr; // ...or rows the form computes
    QList<forms::ChildRow> m_rows;
    QTableView *m_view = nullptr;
    QLabel *m_count = nullptr;
    std::optional<QList<data::FieldValue>> m_state; // what the rows were read for
};

} // namespace qaveq

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace qaveq {

// Sorting an in-memory list by its column headers. Column numbers are 1-based;
// a sort entry is a signed column number, positive ascending, negative
// descending.
//
//   plain press   sort on that column alone; pressing the first sort column
//                 again reverses it
//   Ctrl-press    add the column to the sort (reverse it when it is already
//                 there); a plain press when multi-column sorting is off
//   Shift-press   clear the sorting: designed headers, unsorted rows
class ColumnSorter
{
public:
    struct Column
    {
        int field = 0;   // the row field the column shows
        QString header;  // the designed header text
        QString picture; // "@s20", "@n-15.2"...
        // A column shown from elsewhere (another file, an icon) has no
        // order of the list's own: pressing it leaves the sort alone.
        bool sortable = true;
    };

    enum class Press { Plain, Control, Shift };
    enum class CaseRule { Exact, AllColumns, StringColumns };

    explicit ColumnSorter(QList<Column> columns);

    void setMultiColumn(bool on) { m_multiColumn = on; }
    void setCaseRule(CaseRule rule) { m_caseRule = rule; }

    void press(int column, Press kind);
    const QList<int> &sortList() const { return m_sort; }
    int primary() const { return m_sort.isEmpty() ? 0 : m_sort.first(); }

    // "Description[+]"; with several sorted columns their position follows
    // the sign: "Code[+1]", "Meter[-2]".
    QStringList headers() const;
    // "+UPPER(EQD:Description),-EQD:Meter": the fields named in row-field order.
    QString sortExpression(const QStringList &fieldNames) const;

    // The saved form of the sort, "-3,1", and back.
    QString savedValue() const;
    void restore(const QString &saved);
    // The name the saved form is stored under for list control `control`.
    static QString storeName(int control)
    {
        return QStringLiteral("SortHeader_") + QString::number(control);
    }

    // Sorts rows (each a list of field values) by the sort list; an empty sort
    // list leaves them in `unsorted` order.
    void sortRows(QList<QVariantList> &rows) const;
    // After sorting: the row whose first sort column holds `remembered`, else
    // the row where it would stand, never past the last row.
    int rowFor(const QList<QVariantList> &rows, const QVariant &remembered) const;

    // Whether column `column` is sorted in capitals (without case).
    bool upperCased(int column) const;

private:
    int compare(const QVariantList &a, const QVariantList &b, int entry) const;

    QList<Column> m_columns;
    QList<int> m_sort;
    bool m_multiColumn = true;
    CaseRule m_caseRule = CaseRule::StringColumns;
};

} // namespace qaveq

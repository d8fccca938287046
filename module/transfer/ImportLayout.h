#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq {

// The column layout of an import source: a text of 3-character items, one
// per column of the file in column order, each a field code followed by the
// field's length as two digits ("Q10S08..."). Lengths matter for fixed
// position files only; delimited layouts store "00".
namespace ImportLayout {

inline const QString SourceKind = QStringLiteral("EQ Log Import");
inline const QString BuiltInTitle = QStringLiteral("*Usage Logs Exported from Tessary");
// Every log field in the order the export writes them.
inline const QString BuiltInLayout =
    QStringLiteral("Q00S00F00U00T00D00G00J00C00P00A00M00#00L00E00");
inline const QString BuiltInDateFormat = QStringLiteral("MM/DD/YYYY");

// File formats of a source.
inline constexpr QChar Comma = u'C';
inline constexpr QChar Tab = u'T';
inline constexpr QChar Fixed = u'F';

// The fourteen date formats, in the order the source form offers them.
const QStringList &dateFormats();

struct Field
{
    QChar code;
    QString contents; // as the item form names it: "Equipment ID"
};
// The log fields a column can hold, "Unused" last.
const QList<Field> &fields();
// The contents text of a code; empty for none.
QString contentsOf(QChar code);
// The code of a contents text; nothing for text that names no field
// ("Not Used", which the item form starts with).
std::optional<QChar> codeOf(const QString &contents);
// What the item form offers for a column. In the suite's generic mode these
// are the general-ledger entry's fields, of which only "Date" and
// "GL Account" name log fields: a column of any other is left out of the layout.
QStringList contentsChoices(bool generic);

// The spreadsheet-style name of a 1-based column: 1 "A", 26 "Z", 27 "AA".
QString columnName(int number);

struct Row
{
    int number = 0; // 1-based position
    QString column;
    QString contents;
    int length = 0; // 0-99
    int start = 0;  // 1-based start position in a fixed-position line
};

// The working list of the source form: numbered rows with column names and
// start positions (the first at 1, each next after the previous length).
QList<Row> parse(const QString &layout);
// Numbers, column names and start positions again, after a change.
void renumber(QList<Row> &rows);
// The layout text of the rows; a row that names no field contributes nothing.
QString build(const QList<Row> &rows);

// The moves of the highlighted row; each renumbers and answers the row's new index.
int moveToTop(QList<Row> &rows, int index);
int moveUp(QList<Row> &rows, int index);
int moveDown(QList<Row> &rows, int index);
int moveToBottom(QList<Row> &rows, int index);

// One column of a source as the import reads it.
struct Item
{
    QChar code;
    int length = 0;
};
QList<Item> items(const QString &layout);

} // namespace ImportLayout

} // namespace qaveq

#pragma once

#include "ImportLayout.h"

#include "core/Decimal.h"
#include "core/SuiteDate.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq {

// One line of an import file taken apart by its source's layout.
namespace ImportLine {

// The texts of the line's columns, one per layout item. Comma lines follow
// the common CSV rule: a quoted field runs to its closing quote, commas
// inside it included, and two quotes in a row inside it are one quote.
// In the other formats a field that begins with a quote loses its first and
// last character. Never reads outside the line: missing columns are empty.
QStringList split(QStringView line, QChar format, const QList<ImportLayout::Item> &items);

// A date written in one of the sources' date formats: 0 for empty text, and
// nothing for text that is not a real calendar date of the years 1801 to
// 9999 (no month 13, no 30 February, nothing but figures in its parts).
// Two-digit years fall in the century window around `referenceYear`.
std::optional<DayNumber> date(QStringView text, const QString &format, int referenceYear);

// A number in the plain grammar of files ("-1234.50"; blank is 0) that a
// usage log can hold exactly (11 digits, 2 places); why not, otherwise.
std::optional<Decimal> logFigure(QStringView text, QString *problem);

// Text that a spreadsheet would take for a formula ("=2*3", "+1", "-x", "@a")
// is written with an apostrophe before it; these two undo each other for any text.
QString guardedFromFormula(const QString &text);
QStringView unguardedFromFormula(QStringView text);

// The log fields a line fills, at the widths the import reads them.
struct Fields
{
    QString equipmentId; // 10
    Decimal startMeter, endMeter, units;
    QString chargeType;       // 10, upper case
    QString detailType;       // 11
    QString account;          // 10
    QString jobId;            // 10
    QString costCode;         // 14
    QString equipmentCharged; // 10
    QString category;         // 10
    QString comment;          // 30
    DayNumber date = 0;
    QString location; // 5, upper case
    qint32 employeeId = 0;
};

struct Format
{
    QChar fileFormat = ImportLayout::Comma;
    QString dateFormat;
    QList<ImportLayout::Item> items;
    int referenceYear = 2000;
};

// The fields of one line: texts cut to their widths, unknown and unused
// columns skipped. Returns why the line cannot be read exactly (a control
// character, a broken quote, a value that is no number or no date, a number
// too large for its field), or nothing.
QString read(QStringView line, const Format &format, Fields &fields);

} // namespace ImportLine

} // namespace qaveq

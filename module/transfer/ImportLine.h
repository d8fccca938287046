#pragma once

#include "ImportLayout.h"

#include "core/Decimal.h"
#include "core/SuiteDate.h"

#include <QString>
#include <QStringList>

namespace qaveq {

// One line of an import file taken apart by its source's layout.
namespace ImportLine {

// The texts of the line's columns, one per layout item. Comma lines honour
// double quotes: a quoted field runs to its closing quote, commas inside it
// included, and two quotes in a row inside it read as a quote and a space.
// A field that begins with a quote loses its first and last character.
// Never reads outside the line: missing columns are empty.
QStringList split(QStringView line, QChar format, const QList<ImportLayout::Item> &items);

// A date written in one of the sources' date formats, built as the suite's
// date function does (a month 13 is January of the next year, a day past the
// month's end runs into the next month). Two-digit years fall in the century
// window around `referenceYear`. Empty text, or text that makes no date, is 0.
DayNumber date(QStringView text, const QString &format, int referenceYear);

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

// The fields of one line: texts cut to their widths, numbers that are not
// numbers read as 0, unknown and unused columns skipped.
Fields read(QStringView line, const Format &format);

} // namespace ImportLine

} // namespace qaveq

#pragma once

#include "FieldValue.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace qaveq::data {

class FileSchema;
class Record;
struct FieldDef;

// Records as text for dump and load: JSON Lines with the field names
// without prefix, and CSV. Dates are ISO "YYYY-MM-DD" (empty for no date),
// times "HH:MM:SS.hh", decimals strings with their declared places, texts
// clipped of trailing spaces.
namespace RecordText {

QString fieldText(const FieldDef &field, const FieldValue &value);
// One JSON object, fields in stored order.
QString toJsonLine(const Record &record);
QString csvHeader(const FileSchema &schema);
QString csvRow(const Record &record);
// One value for a spreadsheet: a text that a spreadsheet would run as a
// formula ("=HYPERLINK(...)", "+1+2", "@SUM(...)") starts with "'" instead;
// numbers such as "-12.50" stay as they are.
QString spreadsheetCell(const QString &text);
// The value as a spreadsheet cell, quoted for CSV where it needs to be.
QString csvQuote(const QString &value);

// Reads the JSON object's fields into `record`. Returns the reason when a field
// is unknown or its value does not fit (empty when all is well); the names of
// the fields read go to `present`.
QString fromJson(const QJsonObject &object, Record &record, QStringList *present = nullptr);

} // namespace RecordText

} // namespace qaveq::data

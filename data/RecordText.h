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
QString csvQuote(const QString &text);

// Reads the JSON object's fields into `record`. Returns the reason when a field
// is unknown or its value does not fit (empty when all is well); the names of
// the fields read go to `present`.
QString fromJson(const QJsonObject &object, Record &record, QStringList *present = nullptr);

} // namespace RecordText

} // namespace qaveq::data

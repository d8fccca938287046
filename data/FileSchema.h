#pragma once

#include "FieldValue.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace qaveq::data {

class Database;
class Record;

enum class FieldType { Integer, Text, Decimal, Date, Time };

struct FieldDef
{
    QString name; // without the file prefix
    FieldType type = FieldType::Integer;
    int width = 0;      // texts: characters
    int digits = 0;     // decimals: total digits
    int places = 0;     // decimals: decimal places
    qint64 minimum = 0; // integers, dates and times: the member's range
    qint64 maximum = 0;
    bool required = false; // a record is not stored with this text blank
    std::function<FieldValue(const Record &)> get;
    std::function<void(Record &, const FieldValue &)> set;
};

struct KeyDef
{
    QString name; // without the file prefix, e.g. "KeyEquipmentID"
    bool unique = false;
    QStringList fields;
    bool descending = false; // key order runs from the highest values down
};

// The declaration of one keyed file: its fields in stored order and its keys.
// An alias (EQHeaderAlias) is a second declaration over the same stored table.
class FileSchema
{
public:
    QString name;   // "EQHeader"
    QString prefix; // "EQH"
    QString table;  // the stored table: the file's own name, or the aliased file's
    QList<FieldDef> fields;
    QList<KeyDef> keys;
    int autoNumberField = -1; // index into fields, or -1
    std::function<std::unique_ptr<Record>()> create;
    // Mends rows that an older layout of the file stored differently; runs
    // when a company's layout is brought up to date, after the columns.
    std::function<void(Database &)> upgrade;

    bool isAlias() const { return table != name; }

    // Accepts "EQH:EquipmentID" or "EquipmentID", in any letter case; -1 if unknown.
    int fieldIndex(QStringView name) const;
    const FieldDef *field(QStringView name) const;
    // Throws std::invalid_argument for an unknown key: naming a key is the
    // program's business, not the user's.
    const KeyDef &key(QStringView name) const;
    const KeyDef *firstUniqueKey() const;
    QString qualified(const FieldDef &field) const { return prefix + u':' + field.name; }

private:
    QStringView withoutPrefix(QStringView name) const;
};

} // namespace qaveq::data

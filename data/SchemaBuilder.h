#pragma once

#include "FileError.h"
#include "Record.h"

#include "core/SuiteDate.h"

#include <concepts>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace qaveq::data {

// Builds a file's schema from the members of its record struct (members may
// sit in a base that a file and its alias share):
//
//   static const FileSchema schema = SchemaBuilder<EQCode>(u"EQCode", u"EQD")
//       .autoNumber(u"RecordID", &EQCode::RecordID)
//       .text(u"CategoryID", &EQCode::CategoryID, 10)
//       .key(u"KeyCategoryID", Unique, {u"CategoryID"})
//       .build();
template <class R> class SchemaBuilder
{
    template <class C>
    static constexpr bool isPartOfRecord = std::is_base_of_v<C, R> || std::is_same_v<C, R>;

public:
    enum KeyKind { Unique, Duplicates, UniqueDescending };

    SchemaBuilder(QString name, QString prefix)
    {
        m_schema.name = name;
        m_schema.prefix = std::move(prefix);
        m_schema.table = std::move(name);
        m_schema.create = [] { return std::make_unique<R>(); };
    }

    // Declares this file as a second view of `storedFile`'s table.
    SchemaBuilder &aliasOf(QString storedFile)
    {
        m_schema.table = std::move(storedFile);
        return *this;
    }

    template <std::integral T, class C> SchemaBuilder &integer(QString name, T C::*member)
    {
        return add(FieldType::Integer, std::move(name), member);
    }

    // The file's auto-numbered field: filled with the next number on insert
    // when it is 0, or beforehand by priming. `highest` keeps the numbers
    // within the fields of other files that refer to them.
    template <std::integral T, class C>
    SchemaBuilder &autoNumber(QString name, T C::*member,
                              qint64 highest = std::numeric_limits<qint64>::max())
    {
        m_schema.autoNumberField = static_cast<int>(m_schema.fields.size());
        integer(std::move(name), member);
        m_schema.fields.last().maximum = std::min(m_schema.fields.last().maximum, highest);
        return *this;
    }

    // A date of the years the program can show and dump (to 31 December 9999), or 0.
    template <class C> SchemaBuilder &date(QString name, DayNumber C::*member)
    {
        add(FieldType::Date, std::move(name), member);
        m_schema.fields.last().minimum = 0;
        m_schema.fields.last().maximum = SuiteDate::lastShown();
        return *this;
    }

    template <class C> SchemaBuilder &time(QString name, TimeOfDay C::*member)
    {
        return add(FieldType::Time, std::move(name), member);
    }

    template <class C> SchemaBuilder &text(QString name, QString C::*member, int width)
    {
        static_assert(isPartOfRecord<C>);
        FieldDef field;
        field.name = std::move(name);
        field.type = FieldType::Text;
        field.width = width;
        field.get = [member](const Record &r) {
            return FieldValue(static_cast<const R &>(r).*member);
        };
        field.set = [member](Record &r, const FieldValue &v) {
            static_cast<R &>(r).*member = std::get<QString>(v);
        };
        m_schema.fields.append(std::move(field));
        return *this;
    }

    // The field declared last may not be blank in a stored record.
    SchemaBuilder &required()
    {
        m_schema.fields.last().required = true;
        return *this;
    }

    template <class C>
    SchemaBuilder &decimal(QString name, Decimal C::*member, int digits, int places)
    {
        static_assert(isPartOfRecord<C>);
        FieldDef field;
        field.name = std::move(name);
        field.type = FieldType::Decimal;
        field.digits = digits;
        field.places = places;
        field.get = [member](const Record &r) {
            return FieldValue(static_cast<const R &>(r).*member);
        };
        field.set = [member](Record &r, const FieldValue &v) {
            static_cast<R &>(r).*member = std::get<Decimal>(v);
        };
        m_schema.fields.append(std::move(field));
        return *this;
    }

    SchemaBuilder &key(QString name, KeyKind kind, QStringList fields)
    {
        for (const QString &f : fields)
            if (m_schema.fieldIndex(f) < 0)
                throw std::logic_error(QStringLiteral("key field %1 not declared in %2")
                                           .arg(f, m_schema.name)
                                           .toStdString());
        m_schema.keys.append(KeyDef{std::move(name), kind != Duplicates, std::move(fields),
                                    kind == UniqueDescending});
        return *this;
    }

    // Mends the rows an older layout stored differently (see FileSchema::upgrade).
    SchemaBuilder &upgrade(std::function<void(Database &)> mend)
    {
        m_schema.upgrade = std::move(mend);
        return *this;
    }

    FileSchema build() { return std::move(m_schema); }

private:
    template <std::integral T, class C>
    SchemaBuilder &add(FieldType type, QString name, T C::*member)
    {
        static_assert(isPartOfRecord<C>);
        FieldDef field;
        field.name = std::move(name);
        field.type = type;
        field.minimum = static_cast<qint64>(std::numeric_limits<T>::min());
        field.maximum = static_cast<qint64>(
            std::min<quint64>(std::numeric_limits<T>::max(), std::numeric_limits<qint64>::max()));
        field.get = [member](const Record &r) {
            return FieldValue(static_cast<qint64>(static_cast<const R &>(r).*member));
        };
        // A stored value outside the member's range is never narrowed into
        // another number: the row is refused, naming the field.
        field.set = [member, qualified = m_schema.prefix + u':' + field.name](Record &r,
                                                                              const FieldValue &v) {
            const qint64 value = std::get<qint64>(v);
            if (!std::in_range<T>(value))
                throw DataError(QStringLiteral("%1 holds %2, outside its range")
                                    .arg(qualified)
                                    .arg(value)
                                    .toStdString());
            static_cast<R &>(r).*member = static_cast<T>(value);
        };
        m_schema.fields.append(std::move(field));
        return *this;
    }

    FileSchema m_schema;
};

} // namespace qaveq::data

#include "Record.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

const FieldDef &requireField(const FileSchema &schema, QStringView name)
{
    const FieldDef *field = schema.field(name);
    if (!field)
        throw std::invalid_argument(u"no field %1 in %2"_s.arg(name, schema.name).toStdString());
    return *field;
}

} // namespace

void Record::assign(const Record &other)
{
    if (&other.schema() != &schema())
        throw std::invalid_argument(
            u"cannot assign a %1 record to a %2"_s.arg(other.schema().name, schema().name)
                .toStdString());
    for (const FieldDef &field : schema().fields)
        field.set(*this, field.get(other));
    m_rowId = other.m_rowId;
}

FieldValue Record::value(QStringView field) const
{
    return requireField(schema(), field).get(*this);
}

void Record::setValue(QStringView field, const FieldValue &value)
{
    requireField(schema(), field).set(*this, value);
}

} // namespace qaveq::data

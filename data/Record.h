#pragma once

#include "FieldValue.h"
#include "FileSchema.h"

#include <memory>

namespace qaveq::data {

class Database;
class Table;

// Base of every record struct. The struct's members carry the field names;
// the file's schema reaches them by name for the generic code (lists,
// filters, export, import mapping, dump and load).
class Record
{
public:
    virtual ~Record() = default;
    virtual const FileSchema &schema() const = 0;
    virtual std::unique_ptr<Record> clone() const = 0;

    FieldValue value(QStringView field) const;
    void setValue(QStringView field, const FieldValue &value);

    // The stored row this record was read from or written to; 0 for a record
    // that has not been stored.
    qint64 rowId() const { return m_rowId; }

    // Every field and the stored row of `other`, a record of the same file
    // (filling a file's buffer from a list or a form).
    void assign(const Record &other);

protected:
    Record() = default;
    Record(const Record &) = default;
    Record &operator=(const Record &) = default;

private:
    friend class Database;
    friend class Table;
    qint64 m_rowId = 0;
};

// record struct R : RecordOf<R> { members...; static const FileSchema &fileSchema(); };
template <class R> class RecordOf : public Record
{
public:
    const FileSchema &schema() const override { return R::fileSchema(); }
    std::unique_ptr<Record> clone() const override
    {
        return std::make_unique<R>(static_cast<const R &>(*this));
    }
};

} // namespace qaveq::data

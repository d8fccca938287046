#pragma once

#include <QString>

class QTextStream;

namespace qaveq::data {

class Table;

struct LoadResult
{
    bool ok = false;
    int line = 0;   // the line that stopped the load (1-based), 0 when none
    QString reason; // why it stopped
    int inserted = 0;
    int updated = 0;
};

// Loads JSON Lines into one file: each line inserts a record, or updates the
// record with the same first unique key. The whole load is one transaction:
// a bad line (unknown field, text over its width, bad number or date,
// duplicate unique key) stops it, and nothing of it is kept.
class RecordLoader
{
public:
    explicit RecordLoader(Table &table)
        : m_table(table)
    {}
    LoadResult load(QTextStream &input);

private:
    Table &m_table;
};

} // namespace qaveq::data

#pragma once

#include "core/ProcessOutcome.h"

#include <QString>

class QIODevice;

namespace qaveq::data {

class Table;

// Not done: `problem` says why the load stopped, at `line`.
struct LoadResult : ProcessOutcome
{
    int line = 0; // the line that stopped the load (1-based), 0 when none
    int inserted = 0;
    int updated = 0;
};

// Loads JSON Lines into one file: each line inserts a record, or updates the
// record with the same first unique key. The whole load is one transaction:
// a bad line stops it, and nothing of it is kept. A line is bad when it is not
// valid UTF-8 or not one JSON object, names a field twice or a field the file
// lacks, holds a NUL character, a text over its width, a number outside the
// plain grammar ("-1234.50": no grouping, ASCII digits only) or a bad date,
// leaves a required field blank, or gives a key an earlier line of the same
// load gave.
class RecordLoader
{
public:
    explicit RecordLoader(Table &table)
        : m_table(table)
    {}
    LoadResult load(QIODevice &input);

private:
    Table &m_table;
};

} // namespace qaveq::data

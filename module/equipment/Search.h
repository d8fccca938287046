#pragma once

#include <QList>
#include <QString>

namespace qaveq {

namespace data {
class Company;
}

// Finding equipment, an equipment's cost categories or cost categories by a text.
namespace Search {

enum class Mode { Equipment, EQCode, Code };

struct Candidate
{
    QString id;
    QString description;
    bool operator==(const Candidate &) const = default;
};

QString caption(Mode mode);  // "Search the Equipment File"...
QString idHeader(Mode mode); // "Equipment ID" or "Category ID"

// Every candidate of the mode; for EQCode the categories of `equipmentId`,
// described from the category file or as "Code Not In Dictionary".
QList<Candidate> candidates(data::Company &company, Mode mode, const QString &equipmentId = {});

// The candidates whose identifier or description holds the text, in any
// letter case; an empty text keeps them all.
QList<Candidate> matching(const QList<Candidate> &all, const QString &text);

} // namespace Search

} // namespace qaveq

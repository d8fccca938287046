#pragma once

#include "output/ReportPass.h"

#include "runtime/report/Band.h"

#include <QList>

namespace qaveq {

namespace data {
class Company;
}

struct Notes;

// The tagged notes of one record printed as a list: the owner named at the
// top ("Notes for Equipment (LDR-201) Loader"), then each note's date and
// heading with its text wrapped beside them, oldest first.
class NotesReport final : public ReportPass
{
public:
    struct Owner
    {
        QString word; // "Equipment"
        QString type; // the notes' owner type: "EQHeader"
        QString id;
        QString description;
    };

    NotesReport(data::Company &company, Owner owner, QList<qint32> noteIds);

    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_printed; }

    report::Band noteBand(const Notes &note) const;

private:
    data::Company &m_company;
    Owner m_owner;
    QList<qint32> m_noteIds;
    std::vector<Notes> m_notes;
    qint64 m_printed = 0;
};

} // namespace qaveq

#pragma once

#include "EquipmentListing.h"

#include "core/SuiteDate.h"

#include <QList>
#include <QString>

#include <memory>

namespace qaveq {

class Prompter;
class ReportPass;
struct EQLimits;

namespace data {
class Session;
}

// What a report is made from: the signed-on session, the definition and the
// day of the run; the listing's pictures and the proof listing's batches.
struct ReportRequest
{
    data::Session &session;
    Prompter &prompter;
    const EQLimits &definition;
    DayNumber today = 0;
    ListingPictures pictures{};
    QList<quint16> batches{};
};

// The report of the procedure a definition's dispatch chose
// ("PRINTEQANALYSIS", "PRINTEQLISTING1", "PRINTEQDETAIL"...), the same for
// the windows and the command line; null for a procedure no report answers.
std::unique_ptr<ReportPass> makeReport(const QString &procedure, const ReportRequest &request);

} // namespace qaveq

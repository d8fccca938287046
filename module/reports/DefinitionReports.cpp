#include "DefinitionReports.h"

#include "AnalysisReports.h"
#include "MaintenanceSchedule.h"

#include "data/Session.h"

using namespace Qt::StringLiterals;

namespace qaveq {

std::unique_ptr<ReportPass> definitionReport(const QString &procedure, data::Session &session,
                                             Prompter &prompter, const EQLimits &definition,
                                             DayNumber today)
{
    const QString name = procedure.toUpper();
    if (name == u"PRINTEQANALYSIS")
        return std::make_unique<EquipmentAnalysisReport>(*session.company, definition, today);
    if (name == u"PRINTEQANALYSIS1")
        return std::make_unique<CostSummaryReport>(*session.company, definition, today);
    if (name == u"PRINTEQMAINTENANCE")
        return std::make_unique<MaintenanceScheduleReport>(session, prompter, definition, today);
    return nullptr;
}

} // namespace qaveq

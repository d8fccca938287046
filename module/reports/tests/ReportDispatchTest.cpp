#include "records/EQLimits.h"
#include "records/ModuleFiles.h"
#include "reports/DefinitionForms.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportFactory.h"
#include "reports/ReportFamily.h"

#include "output/ReportPass.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeinfo>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

// The fields whose choices on a definition's form decide which report prints.
const QStringList ChoosingFields = {u"EQLM:ReportType"_s, u"EQLM:ReportFormat"_s,
                                    u"EQLM:DetailSummary"_s};

QList<forms::Control> radioGroups(const forms::FormDefinition &form)
{
    QList<forms::Control> found;
    for (const forms::Page &page : form.pages)
        for (const forms::Group &group : page.groups)
            for (const forms::Row &row : group.rows)
                for (const forms::Control &control : row.controls)
                    if (control.kind == forms::ControlKind::RadioGroup &&
                        ChoosingFields.contains(control.field))
                        found.append(control);
    return found;
}

// Whatever a user picks on a definition's form, Print runs a report: the
// family's server names a report procedure for the choice, and the factory
// that the windows and the command line share makes that report. The
// analysis family's report types each print a report of their own.
TEST(ReportDispatch, EveryChoiceOfADefinitionsFormPrintsAReport)
{
    qaveq::testing::TestDatabase database("SQLite");
    data::Company company(database.settings(), companyCatalog());
    data::Session session(&company);
    ScriptedPrompter prompter;
    int choicesTried = 0;
    for (const FamilyInfo &family : ReportFamilies::all()) {
        EQLimits primed;
        ReportDefinitions::prime(primed, family.family, u"ADM"_s);
        const forms::FormDefinition form = DefinitionForms::definition(family.family, {});
        for (const forms::Control &group : radioGroups(form)) {
            std::set<std::string> reports;
            for (const forms::Choice &choice : group.choices) {
                EQLimits definition = primed;
                definition.setValue(group.field.section(u':', 1), choice.value);
                const QString what = family.name + u' ' + group.field + u'=' + choice.value;
                const QString procedure = ReportFamilies::reportProcedure(definition);
                ASSERT_FALSE(procedure.isEmpty()) << what.toStdString();
                const std::unique_ptr<ReportPass> report =
                    makeReport(procedure, {session, prompter, definition, 90000});
                ASSERT_NE(report, nullptr) << what.toStdString() << " " << procedure.toStdString();
                const ReportPass &made = *report;
                reports.insert(typeid(made).name());
                ++choicesTried;
            }
            if (group.field == u"EQLM:ReportType") {
                EXPECT_EQ(reports.size(), std::size_t(group.choices.size()))
                    << "each report type prints a report of its own";
            }
        }
    }
    EXPECT_GE(choicesTried, 10) << "the analysis, listing and category forms' choices";
}

} // namespace

#include "ListingScreens.h"

#include "common/ui/ScreenRunner.h"
#include "output/ui/ReportWindow.h"
#include "records/EQLimits.h"
#include "reports/ReportFactory.h"

#include "suite/Services.h"

#include "runtime/widgets/Icons.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

using namespace Qt::StringLiterals;

namespace qaveq::ListingScreens {

ListingPictures pictures()
{
    return {suite::imageStoreFolder(), Icons::png(u"~nophoto.gif", QSize(240, 240))};
}

void print(const QString &procedure, const EQLimits &definition, data::ErrorManager &errors,
           OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    const std::unique_ptr<ReportPass> report =
        makeReport(procedure, {.session = *session,
                               .prompter = *errors.prompter(),
                               .definition = definition,
                               .pictures = pictures()});
    if (report)
        runReportWindow(*report, *session, output);
}

} // namespace qaveq::ListingScreens

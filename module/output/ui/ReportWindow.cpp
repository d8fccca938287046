#include "ReportWindow.h"

#include "WindowOutputDevices.h"
#include "output/ReportRun.h"

#include "runtime/widgets/ProgressWindow.h"
#include "runtime/widgets/QtPrompter.h"

#include "core/Clock.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq {

void runReportWindow(ReportPass &pass, data::Session &session, OutputState &output, QWidget *parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    QtPrompter prompter(parent);
    WindowOutputDevices devices(session, prompter, pass.title(), parent);
    SystemClock clock;
    ReportRun run(pass, {session, output, devices, prompter, clock,
                         DisplayStrings::load(QDir(session.dataPath).filePath(u"CPCSRPTS.INI"_s))});
    if (run.start()) {
        ProgressWindow window(run.progressTitle(), run.strings().ProgWinUsrText,
                              {[&run] { return run.runSlice(); }, [&run] { return run.cancel(); },
                               [&run] { return run.percent(); },
                               [&run] { return run.percentText(); },
                               [&run] { return run.recordsText(); }},
                              parent);
        window.run();
    }
    run.finish();
}

} // namespace qaveq

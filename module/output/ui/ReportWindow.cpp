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
        ProgressWindow::Pass pass;
        pass.slice = [&run] { return run.runSlice(); };
        pass.cancel = [&run] { return run.cancel(); };
        if (const QString user = run.strings().ProgWinUsrText; !user.isEmpty())
            pass.status = [user] { return user; };
        pass.percent = [&run] { return run.percent(); };
        pass.percentText = [&run] { return run.percentText(); };
        pass.recordsText = [&run] { return run.recordsText(); };
        ProgressWindow window(run.progressTitle(), pass, parent);
        window.run();
    }
    run.finish();
}

} // namespace qaveq

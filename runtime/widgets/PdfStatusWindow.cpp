#include "PdfStatusWindow.h"

#include "ProgressWindow.h"

#include "core/Prompter.h"

using namespace Qt::StringLiterals;

namespace qaveq {

report::PdfGenerator::Result runPdfGeneration(report::PdfGenerator &generator,
                                              const report::PageList &pages, Prompter &prompter,
                                              QWidget *parent, int pagesPerFile)
{
    if (!generator.begin(pages, pagesPerFile))
        return report::PdfGenerator::Result::NothingToDo;
    ProgressWindow::Pass pass;
    pass.slice = [&generator] { return generator.step(); };
    pass.cancel = [&generator, &prompter] {
        const int answer =
            prompter.ask(Message{u"Cancel PDF?"_s, u"Do you wish to Cancel the PDF Generation?"_s,
                                 u"&Yes|&No"_s, 2, Message::Icon::Question});
        if (answer != 1)
            return false;
        generator.cancel();
        return true;
    };
    pass.status = [&generator] { return generator.statusText(); };
    pass.percent = [&generator] { return generator.percent(); };
    pass.percentText = [&generator] { return generator.pageText(); };
    pass.recordsText = [] { return QString(); };
    ProgressWindow window(u"Generating PDF"_s, pass, parent);
    window.run();
    return generator.result();
}

} // namespace qaveq

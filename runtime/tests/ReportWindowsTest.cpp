#include "runtime/ScriptedPrompter.h"
#include "runtime/report/PageList.h"
#include "runtime/widgets/GraphChart.h"
#include "runtime/widgets/PdfStatusWindow.h"
#include "runtime/widgets/PreviewWindow.h"
#include "runtime/widgets/ProgressWindow.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QValueAxis>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

void addPages(report::PageList &pages, int count)
{
    for (int i = 1; i <= count; ++i) {
        report::PageImage page{QSizeF(6120, 7920), {}};
        page.elements.push_back(report::TextElement{QRectF(360, 360, 3000, 200),
                                                    u"Page %1"_s.arg(i), report::TextStyle{}});
        QString error;
        ASSERT_TRUE(pages.append(page.toBytes(), &error));
    }
}

QAction *action(QWidget &window, const QString &toolTip)
{
    for (QAction *candidate : window.findChild<QToolBar *>()->actions())
        if (candidate->toolTip() == toolTip)
            return candidate;
    return nullptr;
}

// Answers a modal window that opens while `run` runs, then returns.
void whileModal(const std::function<void()> &run, const std::function<void(QWidget *)> &answer)
{
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer.stop();
            answer(modal);
        }
    });
    timer.start(5);
    run();
}

report::Graph graph()
{
    report::Graph g;
    g.title = u"Asset Book Value"_s;
    g.xTitle = u"Number of Years"_s;
    g.yTitle = u"Book Value"_s;
    g.x = {1, 2, 3};
    g.series = {{u"Straight Line"_s, {1000, 700, 400}}};
    g.yMin = 100;
    g.yMax = 1000;
    return g;
}

} // namespace

TEST(PreviewWindowTest, ButtonsCloseWithWhatTheUserAskedFor)
{
    report::PageList pages;
    addPages(pages, 3);
    for (const QString &tip :
         {u"Export This Report"_s, u"Generate PDF File"_s, u"Email Report (pdf)"_s}) {
        PreviewWindow window(pages, u"Schedule"_s);
        QAction *button = action(window, tip);
        ASSERT_TRUE(button) << tip.toStdString();
        whileModal([&] { window.exec(); }, [&](QWidget *) { button->trigger(); });
        EXPECT_EQ(window.exportRequested(), tip == u"Export This Report"_s);
        EXPECT_EQ(window.pdfRequested(), tip == u"Generate PDF File"_s);
        EXPECT_EQ(window.emailRequested(), tip == u"Email Report (pdf)"_s);
        EXPECT_FALSE(window.printRequested());
    }
}

TEST(PreviewWindowTest, WithAnOutputHandlerTheButtonsLeaveThePreviewOpen)
{
    report::PageList pages;
    addPages(pages, 2);
    PreviewWindow window(pages, u"Schedule"_s);
    QList<PreviewWindow::Output> done;
    window.setOutputHandler([&](PreviewWindow::Output output) { done.append(output); });
    window.show();
    for (const QString &tip : {u"Export This Report"_s, u"Generate PDF File"_s,
                               u"Email Report (pdf)"_s, u"Export This Report"_s})
        action(window, tip)->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(done, (QList<PreviewWindow::Output>{
                        PreviewWindow::Output::Export, PreviewWindow::Output::Pdf,
                        PreviewWindow::Output::Email, PreviewWindow::Output::Export}));
}

TEST(PreviewWindowTest, NavigationAndZoom)
{
    report::PageList pages;
    addPages(pages, 3);
    PreviewWindow window(pages, u"Schedule"_s);
    window.showPage(2);
    EXPECT_EQ(window.currentPage(), 2);
    EXPECT_EQ(window.findChild<QSpinBox *>()->value(), 3);
    window.showPage(7); // beyond the last page: stays
    EXPECT_EQ(window.currentPage(), 2);

    window.setZoom(PreviewWindow::Zoom::Percent, 100);
    const double full = window.scale();
    EXPECT_NEAR(full, window.logicalDpiX() / 720.0, 1e-9);
    window.setZoom(PreviewWindow::Zoom::Percent, 150);
    EXPECT_NEAR(window.scale(), full * 1.5, 1e-9);
    EXPECT_EQ(window.findChild<QComboBox *>()->currentText(), u"150%"_s);
    window.setZoom(PreviewWindow::Zoom::Percent, 90); // a zoom the list does not have
    EXPECT_EQ(window.findChild<QComboBox *>()->currentText(), u"90%"_s);

    // The zoom keys step from the zoom shown to the next percentage.
    const auto press = [&](const QKeySequence &key) {
        for (QAction *a : window.actions())
            if (a->shortcut() == key) {
                a->trigger();
                return;
            }
        ADD_FAILURE() << key.toString().toStdString();
    };
    press(QKeySequence::ZoomIn);
    EXPECT_EQ(window.findChild<QComboBox *>()->currentText(), u"100%"_s);
    press(QKeySequence::ZoomIn);
    EXPECT_EQ(window.findChild<QComboBox *>()->currentText(), u"125%"_s);
    press(QKeySequence::ZoomOut);
    press(QKeySequence::ZoomOut);
    EXPECT_EQ(window.findChild<QComboBox *>()->currentText(), u"75%"_s);
    press(QKeySequence(Qt::CTRL | Qt::Key_0));
    EXPECT_NEAR(window.scale(), full, 1e-9);
}

TEST(PdfStatusWindowTest, CancelAsksAndNoGoesOn)
{
    QTemporaryDir folder;
    report::PageList pages;
    addPages(pages, 200);
    ScriptedPrompter prompter{2};
    report::PdfGenerator generator;
    generator.setOutput(folder.filePath(u"r.pdf"_s));
    report::PdfGenerator::Result result;
    whileModal([&] { result = runPdfGeneration(generator, pages, prompter); },
               [&](QWidget *modal) { modal->close(); });
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().first().caption, u"Cancel PDF?"_s);
    EXPECT_EQ(prompter.shown().first().text, u"Do you wish to Cancel the PDF Generation?"_s);
    EXPECT_EQ(result, report::PdfGenerator::Result::Produced);
    EXPECT_TRUE(QFile::exists(folder.filePath(u"r.pdf"_s)));
}

TEST(PdfStatusWindowTest, CancelAnsweredYesLeavesNoFile)
{
    QTemporaryDir folder;
    report::PageList pages;
    addPages(pages, 200);
    ScriptedPrompter prompter{1};
    report::PdfGenerator generator;
    generator.setOutput(folder.filePath(u"r.pdf"_s));
    report::PdfGenerator::Result result;
    whileModal([&] { result = runPdfGeneration(generator, pages, prompter); },
               [&](QWidget *modal) { modal->close(); });
    EXPECT_EQ(result, report::PdfGenerator::Result::Cancelled);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST(ProgressWindowTest, RunsSlicesUntilTheEndOrACancel)
{
    int slices = 0;
    int cancels = 0;
    ProgressWindow::Pass pass{[&] { return ++slices < 4; },
                              [&] { return ++cancels == 2; },
                              {},
                              [&] { return slices * 25; },
                              [] { return u"% Completed"_s; },
                              [] { return u"Records Read"_s; }};
    ProgressWindow window(u"Generating Report"_s, pass);
    window.run();
    EXPECT_EQ(slices, 4);

    int endless = 0;
    ProgressWindow::Pass forever{
        [&] { return ++endless > 0; }, [&] { return ++cancels >= 2; }, {}, [] { return 0; },
        [] { return QString(); },      [] { return QString(); }};
    ProgressWindow cancelled(u"Generating Report"_s, forever);
    // The first cancel is answered "go on", the second ends the pass.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(10);
    cancelled.run();
    EXPECT_EQ(cancels, 2);
    EXPECT_GT(endless, 0);
}

TEST(GraphChartTest, SvgCarriesTitlesAndSeries)
{
    const QByteArray svg = GraphChart::svg(graph(), QSizeF(7200, 2500));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("Asset Book Value"));

    QChart *chart = GraphChart::create(graph());
    EXPECT_EQ(chart->title(), u"Asset Book Value"_s);
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(chart->series().first()->name(), u"Straight Line"_s);
    const auto *y = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).first());
    EXPECT_EQ(y->min(), 100);
    EXPECT_EQ(y->max(), 1000);
    EXPECT_EQ(y->titleText(), u"Book Value"_s);
    delete chart;
}

TEST(GraphChartTest, AxesReadInRoundGroupedFiguresAndWholeYears)
{
    report::Graph g = graph();
    g.x = {2021, 2022, 2023, 2024};
    g.yMin = 35000;
    g.yMax = 168000;
    QChart *chart = GraphChart::create(g);
    auto *y = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Vertical).first());
    ASSERT_TRUE(y);
    EXPECT_EQ(y->min(), 35000) << "a fixed range stays as asked";
    EXPECT_EQ(y->max(), 168000);
    EXPECT_EQ(y->categoriesLabels().first(), u"40,000"_s);
    EXPECT_EQ(y->categoriesLabels().last(), u"160,000"_s);
    auto *x = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Horizontal).first());
    EXPECT_EQ(x->categoriesLabels(), (QStringList{u"2021"_s, u"2022"_s, u"2023"_s, u"2024"_s}));
    delete chart;

    // Nothing to show: the axis still reads 0 and 1, not "0, 0, 0, 1, 1, 1".
    report::Graph empty = graph();
    empty.x = {2027};
    empty.series = {{u"Straight Line"_s, {0}}};
    empty.yMin.reset();
    empty.yMax.reset();
    chart = GraphChart::create(empty);
    y = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Vertical).first());
    EXPECT_EQ(y->categoriesLabels(), (QStringList{u"0"_s, u"1"_s}));
    x = qobject_cast<QCategoryAxis *>(chart->axes(Qt::Horizontal).first());
    EXPECT_EQ(x->categoriesLabels(), (QStringList{u"2026"_s, u"2027"_s, u"2028"_s}));
    delete chart;

    const GraphChart::AxisScale charges = GraphChart::scale(0, 23750.5, false, 8);
    EXPECT_EQ(charges.step, 5000);
    EXPECT_EQ(charges.high, 25000);
}

TEST(GraphChartTest, SavesAsPngOrSvg)
{
    QTemporaryDir folder;
    GraphView view(graph());
    view.resize(400, 300);
    ASSERT_TRUE(view.saveAs(folder.filePath(u"g.png"_s)));
    EXPECT_EQ(QImage(folder.filePath(u"g.png"_s)).width(), 400);
    ASSERT_TRUE(view.saveAs(folder.filePath(u"g.svg"_s)));
    QFile svg(folder.filePath(u"g.svg"_s));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    EXPECT_FALSE(view.saveAs(u"/nonexistent-folder/g.png"_s));
}

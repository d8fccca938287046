// A 1,000-page report written as PDF: through the page list and the PDF
// generator (each page image read back from its file and replayed), and by
// drawing the same pages straight onto QPdfWriter, in the same run.
// Run: build/release/bench/report_pdf_bench
#include "BenchSupport.h"

#include "runtime/report/PageList.h"
#include "runtime/report/PdfGenerator.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Pages = 1000;
constexpr int LinesPerPage = 40;
constexpr int Columns = 12;

// A page like a schedule report's: a shaded header and 40 lines of 12 figures.
report::PageImage schedulePage(int number)
{
    report::PageImage page{QSizeF(7920, 6120), {}};
    page.elements.push_back(
        report::BoxElement{QRectF(360, 360, 7200, 460), QColor(220, 227, 236), {}, 0});
    page.elements.push_back(
        report::TextElement{QRectF(1500, 400, 4200, 200), u"Fixed Asset Depreciation Schedule"_s,
                            report::TextStyle{u"Arial Narrow"_s, 120, true}, Qt::AlignCenter});
    for (int line = 0; line < LinesPerPage; ++line) {
        const qreal top = 1000 + line * 120;
        for (int column = 0; column < Columns; ++column)
            page.elements.push_back(report::TextElement{
                QRectF(360 + column * 600, top, 560, 120),
                QString::number((number * 7919 + line * 131 + column) % 1000000 / 100.0, 'f', 2),
                report::TextStyle{}, Qt::AlignRight | Qt::AlignVCenter});
        page.elements.push_back(
            report::LineElement{QPointF(360, top + 120), QPointF(7560, top + 120), 2});
    }
    return page;
}

struct Report
{
    report::PageList pages;
    std::vector<report::PageImage> inMemory;
    Report()
    {
        QString error;
        for (int i = 1; i <= Pages; ++i) {
            inMemory.push_back(schedulePage(i));
            if (!pages.append(inMemory.back().toBytes(), &error))
                qFatal("The pages cannot be stored: %s", qPrintable(error));
        }
    }
};

Report &laidOut()
{
    static Report instance;
    return instance;
}

void PdfThroughPageList(benchmark::State &state)
{
    QTemporaryDir folder;
    for (auto _ : state) {
        report::PdfGenerator generator;
        generator.setOutput(folder.filePath(u"report.pdf"_s));
        if (generator.generate(laidOut().pages) != report::PdfGenerator::Result::Produced)
            state.SkipWithError("generation failed");
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(Pages) * state.iterations(), benchmark::Counter::kIsRate);
}

void PdfDrawnDirectly(benchmark::State &state)
{
    QTemporaryDir folder;
    for (auto _ : state) {
        QPdfWriter writer(folder.filePath(u"raw.pdf"_s));
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
        writer.setResolution(720);
        writer.setPageMargins({});
        writer.setPageSize(QPageSize(QSizeF(792, 612), QPageSize::Point));
        QPainter painter(&writer);
        bool first = true;
        for (const report::PageImage &page : laidOut().inMemory) {
            if (!first)
                writer.newPage();
            first = false;
            page.paint(painter);
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(Pages) * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(PdfDrawnDirectly)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(PdfThroughPageList)->Apply(bench::inMilliseconds)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    laidOut(); // the pages are laid out once, outside the timings
    bench::runBenchmarks(argc, argv);
    return 0;
}

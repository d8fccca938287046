#include "runtime/report/ReportEngine.h"
#include "runtime/report/ExportSpool.h"
#include "runtime/report/PageBreaker.h"
#include "runtime/report/PageList.h"

#include "core/testing/FileSizeLimit.h"
#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace qaveq::report;
using namespace Qt::StringLiterals;

TEST(PageBreakerTest, BandsFillAPageThenStartTheNext)
{
    PageBreaker breaker(100);
    EXPECT_TRUE(breaker.place(40).newPage); // the first band opens the first page
    const PageBreaker::Placement second = breaker.place(40);
    EXPECT_FALSE(second.newPage);
    EXPECT_EQ(second.top, 40);
    EXPECT_FALSE(breaker.place(20).newPage); // exactly full
    const PageBreaker::Placement next = breaker.place(1);
    EXPECT_TRUE(next.newPage);
    EXPECT_EQ(next.top, 0);
}

TEST(PageBreakerTest, ABandIsNeverSplitUnlessTallerThanAPage)
{
    PageBreaker breaker(100);
    breaker.place(70);
    EXPECT_TRUE(breaker.place(50).newPage); // moves whole to the next page
    const PageBreaker::Placement tall = breaker.place(250);
    EXPECT_TRUE(tall.newPage);
    EXPECT_EQ(tall.pages, 3);
    EXPECT_EQ(breaker.used(), 50); // the tall band's last slice
    breaker.breakPage();
    EXPECT_TRUE(breaker.place(10).newPage);
}

namespace {

Band line(const QString &text, qreal height = 200)
{
    Band band;
    band.height = height;
    band.text(QRectF(0, 0, 2000, height), text).exportLine(text);
    return band;
}

} // namespace

TEST(ReportEngineTest, PagesCarryHeaderFooterAndBandsInOrder)
{
    PageList pages;
    ExportSpool exported;
    PageSetup setup; // letter: 7920 high, 360 margins, body 7200
    ReportEngine engine(setup, pages, exported);
    engine.setPageHeader([](int page) {
        Band header;
        header.height = 400;
        header.text(QRectF(0, 0, 2000, 400), u"Header %1"_s.arg(page));
        return header;
    });
    engine.setPageFooter([](int page) {
        Band footer;
        footer.height = 200;
        footer.text(QRectF(0, 0, 2000, 200), u"Page: %1"_s.arg(page));
        return footer;
    });
    // 6,600 for bands: 33 lines of 200 a page.
    for (int i = 1; i <= 40; ++i)
        ASSERT_TRUE(engine.print(line(u"Line %1"_s.arg(i))));
    ASSERT_TRUE(engine.endPage());

    ASSERT_EQ(pages.count(), 2);
    EXPECT_EQ(engine.bandsPrinted(), 40);
    EXPECT_EQ(exported.count(), 40);
    EXPECT_EQ(exported.lines().first(), u"Line 1"_s);

    const PageImage second = *pages.page(1);
    EXPECT_EQ(second.size, setup.pageSize());
    QStringList texts;
    for (const Element &element : second.elements)
        texts.append(std::get<TextElement>(element).text);
    EXPECT_EQ(texts.first(), u"Header 2"_s);
    EXPECT_EQ(texts.at(1), u"Line 34"_s);
    EXPECT_EQ(texts.last(), u"Page: 2"_s);
    const auto &first = std::get<TextElement>(second.elements.at(1));
    EXPECT_EQ(first.rect.top(), 360 + 400); // margin, then header
    const auto &footer = std::get<TextElement>(second.elements.back());
    EXPECT_EQ(footer.rect.bottom(), setup.pageSize().height() - 360);
}

TEST(ReportEngineTest, PageImagesAreReplayedAsStored)
{
    PageList pages;
    ExportSpool exported;
    ReportEngine engine(PageSetup{QPageSize::A4, true}, pages, exported);
    Band band;
    band.height = 500;
    TextStyle bold;
    bold.bold = true;
    band.text(QRectF(10, 20, 300, 100), u"Asset ID:"_s, bold, Qt::AlignRight)
        .line(QPointF(0, 0), QPointF(100, 0), 3, Qt::red)
        .box(QRectF(0, 0, 50, 50), QColor(220, 220, 220))
        .drawing(QRectF(0, 100, 200, 200), "<svg xmlns='http://www.w3.org/2000/svg'/>");
    ASSERT_TRUE(engine.print(band));
    ASSERT_TRUE(engine.endPage());

    const std::optional<PageImage> page = pages.page(0);
    ASSERT_TRUE(page);
    EXPECT_GT(page->size.width(), page->size.height()); // landscape
    ASSERT_EQ(page->elements.size(), 4u);
    const auto &text = std::get<TextElement>(page->elements.at(0));
    EXPECT_EQ(text.text, u"Asset ID:"_s);
    EXPECT_TRUE(text.font.bold);
    EXPECT_EQ(text.alignment, int(Qt::AlignRight));
    EXPECT_EQ(text.rect, QRectF(370, 380, 300, 100));
    EXPECT_EQ(std::get<LineElement>(page->elements.at(1)).color, QColor(Qt::red));
    EXPECT_TRUE(std::get<DrawingElement>(page->elements.at(3)).svg.startsWith("<svg"));
}

TEST(ReportEngineTest, ATallBandRunsOnOverPages)
{
    PageList pages;
    ExportSpool exported;
    ReportEngine engine(PageSetup{}, pages, exported);
    Band tall;
    tall.height = 7200 * 2 + 100;
    for (int i = 0; i < 3; ++i)
        tall.text(QRectF(0, i * 7200 + 50, 100, 40), QString::number(i));
    ASSERT_TRUE(engine.print(tall));
    ASSERT_TRUE(engine.print(line(u"after"_s)));
    ASSERT_TRUE(engine.endPage());
    ASSERT_EQ(pages.count(), 3);
    EXPECT_EQ(std::get<TextElement>(pages.page(1)->elements.at(0)).rect.top(), 360 + 50);
    EXPECT_EQ(pages.page(2)->elements.size(), 2u); // the last slice and the next band
}

TEST(PageListTest, PagesLiveInAPrivateFolderThatGoesWithTheList)
{
    QString folder;
    QString file;
    {
        PageList pages;
        ASSERT_TRUE(pages.isValid());
        folder = pages.folder();
        QString error;
        ASSERT_TRUE(pages.append(PageImage{QSizeF(100, 100), {}}.toBytes(), &error))
            << error.toStdString();
        file = pages.storeFile();
        EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
        EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

        PageList other; // a second run at the same moment never shares a name
        ASSERT_TRUE(other.append(PageImage{QSizeF(100, 100), {}}.toBytes(), &error));
        EXPECT_NE(other.storeFile(), file);
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(PageListTest, EveryPageReadsBackAsStoredInAnyOrder)
{
    PageList pages;
    QString error;
    for (int i = 0; i < 3; ++i) {
        PageImage page{QSizeF(100 + i, 100), {}};
        for (int line = 0; line <= i; ++line)
            page.elements.push_back(TextElement{
                QRectF(0, line * 10, 50, 10), u"page %1 line %2"_s.arg(i).arg(line), {}});
        ASSERT_TRUE(pages.append(page.toBytes(), &error)) << error.toStdString();
    }
    ASSERT_EQ(pages.count(), 3);
    for (int i : {2, 0, 1}) {
        const std::optional<PageImage> page = pages.page(i);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->size, QSizeF(100 + i, 100));
        ASSERT_EQ(page->elements.size(), std::size_t(i + 1));
        EXPECT_EQ(std::get<TextElement>(page->elements.back()).text,
                  u"page %1 line %2"_s.arg(i).arg(i));
    }
    EXPECT_FALSE(pages.page(3));
    pages.clear();
    EXPECT_TRUE(pages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(pages.storeFile()));
}

TEST(PageListTest, ADamagedStoreGivesNoPage)
{
    PageList pages;
    QString error;
    ASSERT_TRUE(pages.append(PageImage{QSizeF(100, 100), {}}.toBytes(), &error));
    QFile file(pages.storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write("not a page");
    file.close();
    EXPECT_FALSE(pages.page(0));
}

TEST(PageImageTest, EachTextKeepsItsCharactersAndFormatAndACutPageIsRefused)
{
    TextStyle serif{.family = u"Liberation Serif"_s, .size = 120, .italic = true};
    TextStyle bold{.bold = true};
    PageImage page{QSizeF(6120, 7920), {}};
    page.elements.push_back(TextElement{QRectF(0, 0, 100, 10), u"plain"_s, {}});
    page.elements.push_back(TextElement{QRectF(0, 10, 100, 10), u"serif"_s, serif});
    page.elements.push_back(LineElement{QPointF(0, 20), QPointF(100, 20)});
    page.elements.push_back(TextElement{QRectF(0, 30, 100, 10), u"Größe, plain again"_s, {}});
    page.elements.push_back(TextElement{QRectF(0, 40, 100, 10), u"Überschrift 🚜"_s, bold});
    page.elements.push_back(
        TextElement{QRectF(5.25, 50, 80.5, 12), u"12.50"_s, {}, Qt::AlignRight, Qt::red});
    page.elements.push_back(LineElement{QPointF(0, 60), QPointF(100, 60)});
    page.elements.push_back(TextElement{QRectF(120.75, 50, 100, 10), u"same row"_s, {}});
    const QByteArray bytes = page.toBytes();

    const std::optional<PageImage> read = PageImage::fromBytes(bytes);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->elements.size(), 8u);
    const auto textAt = [&read](int i) { return std::get<TextElement>(read->elements.at(i)); };
    EXPECT_EQ(textAt(0).font.family, TextStyle().family);
    EXPECT_EQ(textAt(1).font.family, serif.family);
    EXPECT_EQ(textAt(1).font.size, 120);
    EXPECT_TRUE(textAt(1).font.italic);
    EXPECT_FALSE(textAt(3).font.italic);
    EXPECT_EQ(textAt(3).text, u"Größe, plain again"_s);
    EXPECT_TRUE(textAt(4).font.bold);
    EXPECT_EQ(textAt(4).text, u"Überschrift 🚜"_s);
    // The same style in another box, alignment and colour.
    EXPECT_EQ(textAt(5).rect, QRectF(5.25, 50, 80.5, 12));
    EXPECT_EQ(textAt(5).alignment, int(Qt::AlignRight));
    EXPECT_EQ(textAt(5).color, QColor(Qt::red));
    EXPECT_EQ(textAt(3).rect, QRectF(0, 30, 100, 10));
    EXPECT_EQ(textAt(7).rect, QRectF(120.75, 50, 100, 10)); // on the row of the text before
    EXPECT_EQ(textAt(3).color, QColor(Qt::black));

    for (qsizetype length = 0; length < bytes.size(); ++length)
        ASSERT_FALSE(PageImage::fromBytes(bytes.first(length))) << length;
}

TEST(PageListTest, CopiesRepeatTheWholeListCollated)
{
    PageList pages;
    QString error;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(pages.append(PageImage{QSizeF(100, 100), {}}.toBytes(), &error));
    EXPECT_EQ(pages.printOrder(1), (QList<int>{0, 1, 2}));
    EXPECT_EQ(pages.printOrder(2), (QList<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(pages.printOrder(0), (QList<int>{0, 1, 2}));
}

TEST(ExportSpoolTest, LinesReadBackAsKeptAndTheSpoolTakesMoreAfterAReading)
{
    ExportSpool spool;
    EXPECT_TRUE(spool.lines().isEmpty());
    ASSERT_TRUE(spool.append({u"EXC-1\tExcavator"_s, QString(), u"two\nlines"_s}));
    ASSERT_TRUE(spool.append({}));
    EXPECT_EQ(spool.count(), 3);
    const QStringList first = spool.lines();
    EXPECT_EQ(first, (QStringList{u"EXC-1\tExcavator"_s, QString(), u"two\nlines"_s}));
    // Exported once from the preview, the report may go on being exported.
    ASSERT_TRUE(spool.append({u"Total:\t12.50"_s}));
    EXPECT_EQ(spool.lines(), first + QStringList{u"Total:\t12.50"_s});
    spool.clear();
    EXPECT_EQ(spool.count(), 0);
    EXPECT_TRUE(spool.lines().isEmpty());
}

TEST(PageImageTest, PaintsWhatItHolds)
{
    PageImage page{QSizeF(720, 720), {}};
    page.elements.push_back(BoxElement{QRectF(0, 0, 360, 720), QColor(Qt::blue), {}, 0});
    page.elements.push_back(LineElement{QPointF(400, 700), QPointF(700, 700), 20, Qt::red});
    page.elements.push_back(TextElement{QRectF(400, 0, 320, 200), u"Page: 1"_s, TextStyle{}});
    QImage image(72, 72, QImage::Format_RGB32); // a tenth: 72 pixels to the inch
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.1, 0.1);
    page.paint(painter);
    painter.end();
    EXPECT_EQ(image.pixelColor(10, 40), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(60, 70), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(60, 40), QColor(Qt::white)); // the box's fill did not spread
    bool inked = false;
    for (int x = 40; x < 72; ++x)
        for (int y = 0; y < 20; ++y)
            inked = inked || image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(inked);
}

TEST(PageImageTest, AFigureWiderThanItsColumnIsCondensedNotCut)
{
    // Twenty digits right-aligned in a column a third of their width.
    PageImage page{QSizeF(720, 720), {}};
    page.elements.push_back(TextElement{QRectF(400, 0, 300, 200), u"-999,999,999,999,999.99"_s,
                                        TextStyle{}, Qt::AlignRight | Qt::AlignVCenter});
    QImage image(720, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    page.paint(painter);
    painter.end();
    bool outside = false, inside = false;
    for (int x = 0; x < 720; ++x)
        for (int y = 0; y < 240; ++y) {
            const bool inked = image.pixelColor(x, y) != QColor(Qt::white);
            (x < 398 ? outside : inside) |= inked;
        }
    EXPECT_TRUE(inside);
    EXPECT_FALSE(outside) << "no digit runs into the column beside it";
}

TEST(BandTest, AppendedBandsGoBelow)
{
    Band header = line(u"Company"_s, 400);
    Band headings;
    headings.height = 300;
    headings.line(QPointF(0, 250), QPointF(100, 250)).text(QRectF(0, 0, 100, 200), u"Amount"_s);
    header.append(headings);
    EXPECT_EQ(header.height, 700);
    EXPECT_EQ(std::get<LineElement>(header.elements.at(1)).from, QPointF(0, 650));
    EXPECT_EQ(std::get<TextElement>(header.elements.at(2)).rect.top(), 400);
    EXPECT_EQ(header.exportLines, QStringList{u"Company"_s});
}

TEST(ExportSpoolTest, LongCopiesReadBackWholeAcrossTheFilesPieces)
{
    ExportSpool spool;
    QStringList kept;
    for (int i = 0; i < 40'000; ++i)
        kept.append(i % 7 == 0 ? u"Größe %1 \U0001F69C"_s.arg(i) : u"EXC-%1\tExcavator"_s.arg(i));
    kept.append(QString(300'000, u'x')); // longer than a piece of the file
    kept.append(u"after the long one"_s);
    for (qsizetype i = 0; i < kept.size(); i += 3)
        ASSERT_TRUE(spool.append(kept.mid(i, 3))) << spool.error().toStdString();
    EXPECT_EQ(spool.count(), kept.size());
    EXPECT_EQ(spool.lines(), kept);
    EXPECT_EQ(spool.lines(), kept); // read again, as a second export does
}

TEST(PageListTest, AFullDiskStopsAtThePageThatDidNotFitAndSaysWhy)
{
    PageList pages;
    ExportSpool exported;
    PageImage page{QSizeF(6120, 7920), {}};
    for (int line = 0; line < 60; ++line)
        page.elements.push_back(TextElement{
            QRectF(0, line * 100, 5000, 100), u"line %1 of a long page"_s.arg(line), {}});
    const QByteArray bytes = page.toBytes();
    const QStringList lines(4000, u"EXC-1\tExcavator\t1,234.50"_s);
    QString error;
    int stored = 0;
    bool spooled = true;
    {
        const qaveq::FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.isSet());
        while (stored < 100 && pages.append(bytes, &error))
            ++stored;
        for (int i = 0; i < 10 && spooled; ++i)
            spooled = exported.append(lines);
    }
    EXPECT_LT(stored, 100);
    EXPECT_EQ(pages.count(), stored); // the page cut short is not one
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, u"Unknown error"_s);
    EXPECT_TRUE(pages.page(stored - 1)); // the pages before it read back
    EXPECT_FALSE(spooled);
    EXPECT_NE(exported.error(), u"Unknown error"_s);
    EXPECT_FALSE(exported.error().isEmpty());
}

#include "runtime/report/PdfGenerator.h"
#include "runtime/report/PageList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qaveq::report;
using namespace Qt::StringLiterals;

namespace {

void addPages(PageList &pages, int count, QSizeF size = QSizeF(6120, 7920))
{
    for (int i = 1; i <= count; ++i) {
        PageImage page{size, {}};
        page.elements.push_back(
            TextElement{QRectF(360, 360, 3000, 200), u"Page %1"_s.arg(i), TextStyle{}});
        QString error;
        ASSERT_TRUE(pages.append(page.toBytes(), &error));
    }
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(PdfGeneratorTest, SplitNamesAreNumberedWithEnoughDigits)
{
    EXPECT_EQ(PdfGenerator::splitFileNames(u"/tmp/r.pdf"_s, 5, 0), QStringList{u"/tmp/r.pdf"_s});
    EXPECT_EQ(PdfGenerator::splitFileNames(u"/tmp/r.pdf"_s, 5, 2),
              (QStringList{u"/tmp/r_1.pdf"_s, u"/tmp/r_2.pdf"_s, u"/tmp/r_3.pdf"_s}));
    const QStringList ten = PdfGenerator::splitFileNames(u"/tmp/r.pdf"_s, 100, 10);
    ASSERT_EQ(ten.size(), 10);
    EXPECT_EQ(ten.first(), u"/tmp/r_01.pdf"_s); // ten files: two digits
    EXPECT_EQ(ten.last(), u"/tmp/r_10.pdf"_s);
    EXPECT_EQ(PdfGenerator::splitFileNames(u"/tmp/r.pdf"_s, 9, 1).last(), u"/tmp/r_9.pdf"_s);
    EXPECT_EQ(PdfGenerator::splitFileNames(u"/tmp/r.pdf"_s, 1000, 10).at(41), u"/tmp/r_042.pdf"_s);
}

TEST(PdfGeneratorTest, OutputNamesTakeFolderAndExtension)
{
    PdfGenerator generator;
    generator.setOutput(u"Schedule"_s, u"/srv/out"_s);
    EXPECT_EQ(generator.outputFileName(), u"/srv/out/Schedule.pdf"_s);
    generator.setOutput(u"Schedule.pdf"_s);
    EXPECT_EQ(generator.outputFileName(), QDir::current().filePath(u"Schedule.pdf"_s));
    generator.setOutput(u"/home/u/Report.pdf"_s, u"/srv/out"_s);
    EXPECT_EQ(generator.outputFileName(), u"/home/u/Report.pdf"_s);
}

TEST(PdfGeneratorTest, WritesOnePdf14PagePerPageImageAtItsSize)
{
    QTemporaryDir folder;
    PageList pages;
    addPages(pages, 2);
    addPages(pages, 1, QSizeF(7920, 6120)); // a landscape page
    PdfGenerator generator;
    generator.setOutput(folder.filePath(u"r.pdf"_s));
    ASSERT_TRUE(generator.begin(pages));
    EXPECT_EQ(generator.statusText(), u"Generating PDF: "_s + folder.filePath(u"r.pdf"_s));
    EXPECT_EQ(generator.pageText(), u"Page 1 of 3"_s);
    EXPECT_TRUE(generator.step());
    EXPECT_EQ(generator.percent(), 33);
    EXPECT_FALSE(QFile::exists(folder.filePath(u"r.pdf"_s))); // nothing before it is complete
    EXPECT_TRUE(generator.step());
    EXPECT_FALSE(generator.step());
    EXPECT_EQ(generator.result(), PdfGenerator::Result::Produced);

    const QByteArray pdf = contents(folder.filePath(u"r.pdf"_s));
    EXPECT_TRUE(pdf.startsWith("%PDF-1.4"));
    EXPECT_EQ(pdf.count("/MediaBox"), 3);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 612.000000 792.000000]"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 792.000000 612.000000]"));
}

TEST(PdfGeneratorTest, SplitsIntoNumberedFiles)
{
    QTemporaryDir folder;
    PageList pages;
    addPages(pages, 5);
    PdfGenerator generator;
    generator.setOutput(folder.filePath(u"r.pdf"_s));
    EXPECT_EQ(generator.generate(pages, 2), PdfGenerator::Result::Produced);
    EXPECT_EQ(generator.outputFiles().size(), 3);
    EXPECT_TRUE(QFile::exists(folder.filePath(u"r_3.pdf"_s)));
    EXPECT_FALSE(QFile::exists(folder.filePath(u"r.pdf"_s)));
}

TEST(PdfGeneratorTest, CancellingLeavesNoOutputFile)
{
    QTemporaryDir folder;
    PageList pages;
    addPages(pages, 5);
    PdfGenerator generator;
    generator.setOutput(folder.filePath(u"r.pdf"_s));
    ASSERT_TRUE(generator.begin(pages, 2));
    for (int i = 0; i < 3; ++i)
        generator.step(); // the first file is complete, the second begun
    EXPECT_TRUE(QFile::exists(folder.filePath(u"r_1.pdf"_s)));
    generator.cancel();
    EXPECT_EQ(generator.result(), PdfGenerator::Result::Cancelled);
    EXPECT_FALSE(generator.step());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST(PdfGeneratorTest, NothingToDoAndUnwritableOutputAreNotSuccess)
{
    PageList empty;
    PdfGenerator generator;
    generator.setOutput(u"r.pdf"_s);
    EXPECT_EQ(generator.generate(empty), PdfGenerator::Result::NothingToDo);

    PageList pages;
    addPages(pages, 1);
    generator.setOutput({});
    EXPECT_EQ(generator.generate(pages), PdfGenerator::Result::NothingToDo);

    generator.setOutput(u"/nonexistent-folder/r.pdf"_s);
    EXPECT_EQ(generator.generate(pages), PdfGenerator::Result::Failed);
    EXPECT_TRUE(generator.error().contains(u"/nonexistent-folder/r.pdf"_s));
}

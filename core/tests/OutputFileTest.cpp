#include "core/OutputFile.h"

#include "core/testing/FileSizeLimit.h"
#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(OutputFile, ReplacesAPlainFileWhole)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"report.txt"_s);
    EXPECT_EQ(OutputFile::write(path, "old\n"), QString());
    EXPECT_EQ(OutputFile::write(path, "new\n"), QString());
    EXPECT_EQ(contents(path), "new\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"report.txt"_s});
}

TEST(OutputFile, NeverWritesThroughALinkOrOntoAFifoOrDevice)
{
    QTemporaryDir folder;
    const QString victim = folder.filePath(u"victim"_s);
    ASSERT_EQ(OutputFile::write(victim, "keep\n"), QString());
    const QString link = folder.filePath(u"planted.pdf"_s);
    ASSERT_TRUE(QFile::link(victim, link));
    EXPECT_EQ(OutputFile::write(link, "evil"), link + u" is a link; choose the file itself"_s);
    EXPECT_EQ(contents(victim), "keep\n");

    const QString fifo = folder.filePath(u"fifo"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(OutputFile::write(fifo, "x"), fifo + u" is not a plain file"_s);
    EXPECT_EQ(OutputFile::refusal(u"/dev/null"_s), u"/dev/null is not a plain file");
    EXPECT_EQ(OutputFile::refusal(folder.path()), folder.path() + u" is not a plain file"_s);
    EXPECT_EQ(OutputFile::refusal(folder.filePath(u"new.pdf"_s)), QString());
    // A new name among the devices is no place for a file either.
    EXPECT_EQ(OutputFile::refusal(u"/dev/null.pdf"_s),
              u"/dev/null.pdf is in the system folder /dev; choose a file elsewhere");
    EXPECT_FALSE(OutputFile::refusal(u"/proc/self/x.txt"_s).isEmpty());
}

TEST(OutputFile, AWriteErrorLeavesNoFile)
{
    // A file size limit makes the write fail as a full disk would.
    QTemporaryDir folder;
    const QString path = folder.filePath(u"big.txt"_s);
    QString error;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.isSet());
        error = OutputFile::write(path, QByteArray(1 << 20, 'x'));
    }

    EXPECT_TRUE(error.startsWith(path + u" cannot be written: "_s)) << error.toStdString();
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace

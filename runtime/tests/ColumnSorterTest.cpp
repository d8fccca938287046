#include "runtime/ColumnSorter.h"
#include "runtime/ConsolePrompter.h"
#include "runtime/SortMemory.h"
#include "runtime/SpellChecker.h"
#include "runtime/TextCase.h"

#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using Press = ColumnSorter::Press;

namespace {

ColumnSorter categories()
{
    return ColumnSorter(
        {{1, u"Code"_s, u"@s10"_s}, {2, u"Description"_s, u"@s30"_s}, {3, u"Meter"_s, u"@n_13"_s}});
}

QList<QVariantList> rows()
{
    return {{u"TIRES"_s, u"tires"_s, 300},
            {u"FUEL"_s, u"Fuel"_s, 0},
            {u"OIL"_s, u"oil"_s, 250},
            {u"PM"_s, u"Preventive"_s, 500}};
}

QStringList firstColumn(const QList<QVariantList> &list)
{
    QStringList codes;
    for (const QVariantList &row : list)
        codes.append(row[0].toString());
    return codes;
}

TEST(ColumnSorter, PressingTheSameHeaderTwiceSortsDescending)
{
    ColumnSorter sorter = categories();
    sorter.press(1, Press::Plain);
    EXPECT_EQ(sorter.headers(), (QStringList{u"Code[+]"_s, u"Description"_s, u"Meter"_s}));
    sorter.press(1, Press::Plain);
    EXPECT_EQ(sorter.sortList(), QList<int>{-1});
    EXPECT_EQ(sorter.headers().first(), u"Code[-]");
    QList<QVariantList> list = rows();
    sorter.sortRows(list);
    EXPECT_EQ(firstColumn(list), (QStringList{u"TIRES"_s, u"PM"_s, u"OIL"_s, u"FUEL"_s}));
    sorter.press(3, Press::Plain);
    EXPECT_EQ(sorter.sortList(), QList<int>{3}) << "another column starts ascending on its own";
}

TEST(ColumnSorter, ShiftPressRestoresTheDesignedHeadersAndOrder)
{
    ColumnSorter sorter = categories();
    sorter.press(2, Press::Plain);
    sorter.press(3, Press::Control);
    sorter.press(1, Press::Shift);
    EXPECT_TRUE(sorter.sortList().isEmpty());
    EXPECT_EQ(sorter.headers(), (QStringList{u"Code"_s, u"Description"_s, u"Meter"_s}));
    QList<QVariantList> list = rows();
    sorter.sortRows(list);
    EXPECT_EQ(list, rows());
}

TEST(ColumnSorter, ControlAddsColumnsWithTheirPositions)
{
    ColumnSorter sorter = categories();
    sorter.press(2, Press::Plain);
    sorter.press(2, Press::Plain); // descending first
    sorter.press(3, Press::Control);
    sorter.press(1, Press::Control);
    sorter.press(1, Press::Control); // reversed in place
    EXPECT_EQ(sorter.sortList(), (QList<int>{-2, 3, -1}));
    EXPECT_EQ(sorter.headers(), (QStringList{u"Code[-3]"_s, u"Description[-1]"_s, u"Meter[+2]"_s}));
    EXPECT_EQ(sorter.sortExpression({u"EQD:CategoryID"_s, u"EQD:Description"_s, u"EQD:Meter"_s}),
              u"-UPPER(EQD:Description),+EQD:Meter,-UPPER(EQD:CategoryID)");
    sorter.setCaseRule(ColumnSorter::CaseRule::Exact);
    EXPECT_EQ(sorter.sortExpression({u"A"_s, u"B"_s, u"C"_s}), u"-B,+C,-A");

    sorter.setMultiColumn(false);
    sorter.press(3, Press::Control);
    EXPECT_EQ(sorter.sortList(), QList<int>{3})
        << "without multi-column sorting Ctrl is a plain press";
}

TEST(ColumnSorter, SavedSortRestores)
{
    ColumnSorter sorter = categories();
    sorter.restore(u"-3,1"_s);
    EXPECT_EQ(sorter.sortList(), (QList<int>{-3, 1}));
    EXPECT_EQ(sorter.savedValue(), u"-3,1");
    QList<QVariantList> list = rows();
    sorter.sortRows(list);
    EXPECT_EQ(firstColumn(list), (QStringList{u"PM"_s, u"TIRES"_s, u"OIL"_s, u"FUEL"_s}));
    sorter.restore(u"9,x,2"_s);
    EXPECT_EQ(sorter.sortList(), QList<int>{2}) << "columns that do not exist are dropped";
    EXPECT_EQ(ColumnSorter::storeName(4), u"SortHeader_4");
}

TEST(ColumnSorter, TextSortsWithoutCaseAndKeepsTheRow)
{
    ColumnSorter sorter = categories();
    sorter.press(2, Press::Plain);
    QList<QVariantList> list = rows();
    sorter.sortRows(list);
    EXPECT_EQ(firstColumn(list), (QStringList{u"FUEL"_s, u"OIL"_s, u"PM"_s, u"TIRES"_s}));
    EXPECT_EQ(sorter.rowFor(list, u"Preventive"_s), 2);
    EXPECT_EQ(sorter.rowFor(list, u"gasoline"_s), 1) << "where the value would stand";
    EXPECT_EQ(sorter.rowFor(list, u"zzz"_s), 3) << "never past the last row";
}

TEST(SortMemory, KeepsTheSortInAnIniFileOrTheRegistryStore)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir folder;
    const SortMemory ini(folder.filePath(u"lists.ini"_s), u"BrowseEQCode"_s);
    ini.save(3, u"-3,1"_s);
    EXPECT_EQ(SortMemory(folder.filePath(u"lists.ini"_s), u"BrowseEQCode"_s).load(3), u"-3,1");
    EXPECT_EQ(ini.load(4), QString());
    // As a site writes it by hand: the comma is part of the value.
    QFile handWritten(folder.filePath(u"site.ini"_s));
    ASSERT_TRUE(handWritten.open(QIODevice::WriteOnly));
    handWritten.write("[browseeqcode]\r\nsortheader_2=-3,1\r\n");
    handWritten.close();
    EXPECT_EQ(SortMemory(handWritten.fileName(), u"BrowseEQCode"_s).load(2), u"-3,1");

    const SortMemory registry(u"HKEY_CURRENT_USER"_s, u"Software\\Korvalis\\Lists"_s);
    registry.save(7, u"2"_s);
    EXPECT_EQ(registry.load(7), u"2");
    EXPECT_EQ(SortMemory(u"HKEY_LOCAL_MACHINE"_s, u"Software\\Korvalis\\Lists"_s).load(7),
              QString());

    const SortMemory off(QString(), u"X"_s);
    off.save(1, u"1"_s);
    EXPECT_EQ(off.load(1), QString());
}

TEST(SpellChecker, AsksAboutEachUnknownWordAndAppliesTheAnswers)
{
    SpellChecker checker;
    ASSERT_TRUE(checker.isAvailable()) << checker.dictionaryPath().toStdString();
    EXPECT_TRUE(checker.isCorrect(u"excavator"_s));
    EXPECT_FALSE(checker.isCorrect(u"excavater"_s));
    EXPECT_TRUE(checker.suggestions(u"excavater"_s).contains(u"excavator"_s));

    QStringList asked;
    const QStringList corrected = checker.check(
        {u"Replace the hydrolic hose"_s, u"Tandem axel, unit 4711B; axel again"_s, u"fine text"_s},
        [&asked](const QString &word, const QStringList &) {
            asked.append(word);
            if (word == u"hydrolic")
                return SpellChecker::Decision{SpellChecker::Decision::Kind::Change, u"hydraulic"_s};
            return SpellChecker::Decision{SpellChecker::Decision::Kind::IgnoreAll, {}};
        });
    EXPECT_EQ(corrected, (QStringList{u"Replace the hydraulic hose"_s,
                                      u"Tandem axel, unit 4711B; axel again"_s, u"fine text"_s}));
    EXPECT_EQ(asked, (QStringList{u"hydrolic"_s, u"axel"_s}))
        << "Ignore All asks once; codes are not checked";

    bool stopped = false;
    checker.check(
        {u"recieve it"_s},
        [](const QString &, const QStringList &) {
            return SpellChecker::Decision{SpellChecker::Decision::Kind::Stop, {}};
        },
        &stopped);
    EXPECT_TRUE(stopped);
}

TEST(ConsolePrompter, PrintsTheMessageAndAnswersForTheCommandLine)
{
    QString printed;
    QTextStream err(&printed);
    ConsolePrompter prompter(err);
    EXPECT_EQ(prompter.ask(Message{u"Batch In Use"_s, u"In use by EQM.|Proceed?"_s,
                                   u"&Cancel|&Proceed"_s, 1}),
              1);
    EXPECT_EQ(printed, u"Batch In Use: In use by EQM. Proceed? [Cancel]\n");
    prompter.answerWith(u"proceed"_s);
    EXPECT_EQ(prompter.ask(Message{u"Batch In Use"_s, u"Again?"_s, u"&Cancel|&Proceed"_s, 1}), 2);
    EXPECT_EQ(prompter.ask(Message{{}, u"Done."_s}), 1)
        << "a box without that button keeps its default";
}

TEST(TextCase, ModesAndRequests)
{
    using namespace TextCase;
    EXPECT_EQ(apply(u"hydraulic hose - front/rear"_s, Mode::Capitalized),
              u"Hydraulic Hose - Front/Rear");
    EXPECT_EQ(apply(u"Tire rotation"_s, Mode::AllCaps), u"TIRE ROTATION");
    EXPECT_EQ(apply(u"Tire rotation"_s, Mode::Small), u"Tire rotation");
    EXPECT_EQ(storeRequest(Mode::Capitalized, u"EQD:Description"_s), u"CAPEQD:Description");
    EXPECT_EQ(queryRequest(u"EQD:Description"_s), u"000EQD:Description");
    EXPECT_EQ(fromCode(u"UPR"_s), Mode::AllCaps);
    EXPECT_FALSE(fromCode(u"XYZ"_s).has_value());
    EXPECT_EQ(menuText(Mode::Small), u"small text");
}

} // namespace

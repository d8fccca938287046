#include "equipment/EquipmentRules.h"
#include "equipment/Attachments.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/Images.h"
#include "records/ModuleFiles.h"
#include "records/PriorPeriods.h"

#include "suite/Services.h"

#include "runtime/ScriptedPrompter.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class EquipmentRulesTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 30))};

    EquipmentRulesTest() { data::Session::setCurrent(&session); }
    ~EquipmentRulesTest() override { data::Session::setCurrent(nullptr); }

    void log(const QString &equipment, int day, const char *units)
    {
        EQLog entry;
        entry.EquipmentID = equipment;
        entry.Date = SuiteDate::fromYmd(2026, 1, day);
        entry.Units = Decimal::fromText(QString::fromLatin1(units));
        ASSERT_TRUE(company.file<EQLog>().insert(entry).isOk());
    }
};

TEST(EquipmentRules, SortTextsAttachmentKindsAndSchedulesInWords)
{
    EXPECT_EQ(EquipmentRules::sortText(u"42"_s), u"0000000042");
    EXPECT_EQ(EquipmentRules::sortText(u"A42"_s), u"A42");
    EXPECT_EQ(EquipmentRules::sortText(u"1234567890"_s), u"1234567890");

    const std::pair<const char16_t *, const char16_t *> kinds[] = {
        {u"report.Pdf", u"PDF"},     {u"scan.jpeg", u"Bitmap"}, {u"notes.md", u"Other"},
        {u"plan.tif", u"Bitmap"},    {u"memo.docx", u"DOC"},    {u"deck.pptx", u"PPT"},
        {u"read.TXT", u"TXT"},       {u"sheet.xlsx", u"XL"},    {u"page.html", u"WebPage"},
        {u"no extension", u"Other"}, {u"a.b.gif", u"Bitmap"},
    };
    for (const auto &[file, kind] : kinds)
        EXPECT_EQ(EquipmentRules::attachmentType(QString::fromUtf16(file)),
                  QString::fromUtf16(kind))
            << QString::fromUtf16(file).toStdString();
    EXPECT_EQ(EquipmentRules::attachmentPicture(u"PDF       "_s), u"~pdf.gif");
    EXPECT_EQ(EquipmentRules::attachmentPicture(u"XL"_s), u"~xldoc.gif");
    EXPECT_EQ(EquipmentRules::attachmentPicture(u"Bitmap"_s), QString()) << "shows itself";
    EXPECT_EQ(EquipmentRules::attachmentPicture(u"Zip"_s), u"~OtherFile.gif");

    EQCost cost;
    cost.Meter = 250;
    cost.MeterName = u"Hours"_s;
    cost.Interval = 6;
    cost.IntervalName = u"Months    "_s;
    for (const auto &[type, words] : {std::pair{u"M"_s, u"Every 250 Hours"_s},
                                      {u"E"_s, u"Every 6 Months"_s},
                                      {u"B"_s, u"Every 6 Months or 250 Hours"_s},
                                      {u"N"_s, u"None"_s},
                                      {u"Q"_s, u"None"_s}}) {
        cost.ScheduleType = type;
        EXPECT_EQ(EquipmentRules::scheduleInWords(cost), words);
    }

    EXPECT_EQ(EquipmentRules::scheduleTitle(2, {}), u"Sum of Years' Digits Depreciation Schedule");
    EXPECT_EQ(EquipmentRules::scheduleTitle(4, u"Tax Book  "_s), u"Tax Book Depreciation Schedule");
}

TEST_F(EquipmentRulesTest, UnitsPerDayAreSummedExactly)
{
    EXPECT_FALSE(EquipmentRules::unitsPerDay(company, u"TRK-1"_s)) << "no logs, no average";
    log(u"TRK-1"_s, 5, "12.5");
    log(u"TRK-1"_s, 5, "12.5");
    EXPECT_EQ(EquipmentRules::unitsPerDay(company, u"TRK-1"_s), Decimal::fromText(u"25"))
        << "logs all on one day give their total, fractions kept";
    log(u"TRK-1"_s, 15, "-5");
    EXPECT_EQ(EquipmentRules::unitsPerDay(company, u"TRK-1"_s), Decimal::fromText(u"2"))
        << "a correcting log counts negative: 20 units over 10 days";
    log(u"OTHER"_s, 1, "1000");
    EXPECT_EQ(EquipmentRules::unitsPerDay(company, u"TRK-1"_s), Decimal::fromText(u"2"));
}

TEST_F(EquipmentRulesTest, CostFiguresOfAPeriodWithTotalsAndProfit)
{
    EQHeader truck;
    truck.EquipmentID = u"TRK-1"_s;
    truck.CumulativeInternalIncome = Decimal(500);
    for (const auto &[category, amount] : {std::pair{u"FUEL"_s, 300}, {u"GONE"_s, 400}}) {
        EQCost cost;
        cost.RecordID = u"TRK-1     "_s + category;
        cost.EquipmentID = u"TRK-1"_s;
        cost.CostCategory = category;
        cost.CumulativeAmount = Decimal(amount);
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    }
    EQCode fuel;
    fuel.CategoryID = u"FUEL"_s;
    fuel.Description = u"Fuel"_s;
    ASSERT_TRUE(company.file<EQCode>().insert(fuel).isOk());
    EQPriorC year;
    year.EquipmentID = u"TRK-1"_s;
    year.Category = u"FUEL"_s;
    year.FiscalYear = 2026;
    year.Amount = Decimal(120);
    ASSERT_TRUE(company.file<EQPriorC>().insert(year).isOk());
    EQPriorM month;
    month.EquipmentID = u"TRK-1"_s;
    month.FiscalYear = 2026;
    month.Period = 2;
    month.RentalIncome = Decimal(80);
    ASSERT_TRUE(company.file<EQPriorM>().insert(month).isOk());

    const QList<forms::ChildRow> rows = EquipmentRules::costCategoryRows(company, truck, 2026, 2);
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0].cells.mid(0, 6),
              (QStringList{u"FUEL"_s, u"Fuel"_s, u"0.00"_s, u"300.00"_s, u"0.00"_s, u"120.00"_s}));
    EXPECT_EQ(rows[1].cells[1], u"Code Not In Dictionary");
    EXPECT_EQ(rows[1].key, QList<data::FieldValue>{u"TRK-1     GONE"_s});
    EXPECT_EQ(rows[2].cells[0], u"Total Costs:");
    EXPECT_EQ(rows[2].cells[3], u"700.00");
    EXPECT_TRUE(rows[2].key.isEmpty()) << "a totals row is no record";
    EXPECT_EQ(rows[5].cells[0], u"Total Income");
    EXPECT_EQ(rows[5].cells[3], u"500.00");
    EXPECT_EQ(rows[5].cells[7], u"80.00") << "the period's rental income";
    EXPECT_EQ(rows[6].cells[3], u"-200.00");
    EXPECT_EQ(rows[6].negative, (QList<int>{3, 5})) << "profit below zero in red";
}

TEST_F(EquipmentRulesTest, AttachedFilesOfTheSameNameNeverOverwriteEachOther)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(u"a"_s) && QDir(folder.path()).mkpath(u"b"_s));
    const QString first = folder.filePath(u"a/photo.jpg"_s);
    const QString second = folder.filePath(u"b/photo.jpg"_s);
    for (const auto &[path, text] : {std::pair{first, "first"}, {second, "second"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    EXPECT_EQ(Attachments::attach(session, prompter, clock, u"TRK-1"_s, u"Truck"_s,
                                  {first, second, folder.filePath(u"missing.pdf"_s)}),
              2);
    EXPECT_EQ(prompter.texts().size(), 1) << "the missing file is said";

    QList<Images> attached;
    data::KeyCursor cursor = company.file<Images>().scan(u"KeyRecordID");
    Images image;
    while (cursor.next(image))
        attached.append(image);
    ASSERT_EQ(attached.size(), 2);
    EXPECT_NE(attached[0].FileName, attached[1].FileName);
    EXPECT_EQ(attached[0].Caption, u"photo.jpg") << "captions are file names by default";
    EXPECT_EQ(attached[0].ImageType, u"Bitmap");
    EXPECT_EQ(attached[0].Type, u"EQHeader");
    EXPECT_EQ(attached[0].FileDate, SuiteDate::fromYmd(2026, 3, 15));
    QFile copy(Attachments::extract(attached[1]));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "second");
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(database.settings().sqliteFile)
                                      .dir()
                                      .filePath(u"images/"_s + attached[1].FileName)))
        << "a company without a folder keeps its images beside its database, not in the "
           "current folder";

    prompter.answerNext(2);
    EXPECT_FALSE(Attachments::remove(session, prompter, attached[0])) << "No keeps it";
    prompter.answerNext(1);
    EXPECT_TRUE(Attachments::remove(session, prompter, attached[0]));
    EXPECT_EQ(company.file<Images>().count(), 1);
    EXPECT_FALSE(QFile::exists(QDir(suite::imageStoreFolder()).filePath(attached[0].FileName)));

    EXPECT_EQ(Attachments::caption(u"X"_s, u"C:\\docs\\a.pdf"_s, u"TRK-1"_s, u"Truck  "_s),
              u"Attachment for Equipment (TRK-1) Truck");
    EXPECT_EQ(Attachments::caption(u"F"_s, u"C:\\docs\\a.pdf"_s, u"TRK-1"_s, {}), u"a.pdf");
}

TEST(WizardButtons, PageByPage)
{
    using forms::wizardButtons;
    const auto states = [](int page, int pages, bool walking, bool requiredDone = false) {
        const forms::WizardButtons b = wizardButtons(page, pages, walking, requiredDone);
        return QString::number(b.back) + QString::number(b.next) + QString::number(b.finish);
    };
    EXPECT_EQ(states(0, 7, true), u"010") << "first page: no Back, no Finish";
    EXPECT_EQ(states(3, 7, true), u"110");
    EXPECT_EQ(states(6, 7, true), u"101") << "last page: no Next, Finish";
    EXPECT_EQ(states(3, 7, false), u"001") << "without the wizard only OK";
    EXPECT_EQ(states(0, 7, true, true), u"011") << "every required entry made: Finish at once";
}

} // namespace

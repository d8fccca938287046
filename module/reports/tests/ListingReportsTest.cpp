#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/Images.h"
#include "records/Notes.h"
#include "records/UserDef.h"
#include "reports/CategoryListing.h"
#include "reports/EquipmentListing.h"
#include "reports/ReportFactory.h"
#include "testing/ReportTesting.h"

#include "data/suite/PayrollFiles.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

// Each column of each page, as 1-based entry numbers.
QList<QList<QList<int>>> columnsOf(int entries, int columns)
{
    QList<QList<QList<int>>> pages;
    for (const CategoryColumns::Page &page : CategoryColumns::pages(entries, columns)) {
        QList<QList<int>> byColumn(columns);
        for (const CategoryColumns::Row &row : page)
            for (int c = 0; c < row.size(); ++c)
                byColumn[c].append(row.at(c) + 1);
        while (!byColumn.isEmpty() && byColumn.last().isEmpty())
            byColumn.removeLast();
        pages.append(byColumn);
    }
    return pages;
}

QList<int> run(int from, int to)
{
    QList<int> numbers;
    for (int n = from; n <= to; ++n)
        numbers.append(n);
    return numbers;
}

} // namespace

TEST(CategoryColumnsTest, FillsColumnByColumnWithTheLastPageEven)
{
    const struct
    {
        int entries, columns;
        QList<QList<QList<int>>> expected;
    } cases[] = {
        {7, 3, {{{1, 2, 3}, {4, 5}, {6, 7}}}},
        {8, 3, {{{1, 2, 3}, {4, 5, 6}, {7, 8}}}},
        {9, 3, {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}},
        {4, 3, {{{1, 2}, {3}, {4}}}},
        {1, 3, {{{1}}}},
        {189, 3, {{run(1, 63), run(64, 126), run(127, 189)}}},
        {190, 3, {{run(1, 63), run(64, 126), run(127, 189)}, {{190}}}},
        {5, 2, {{{1, 2, 3}, {4, 5}}}},
        {126, 2, {{run(1, 63), run(64, 126)}}},
        {127, 2, {{run(1, 63), run(64, 126)}, {{127}}}},
        {0, 3, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(columnsOf(c.entries, c.columns), c.expected)
            << c.entries << " entries in " << c.columns << " columns";
    // Every row of a full page has all its columns.
    const auto full = CategoryColumns::pages(190, 3);
    for (const CategoryColumns::Row &row : full.first())
        EXPECT_EQ(row.size(), 3);
}

TEST(EquipmentListingPhotoTest, FitsThreeInchesKeepingItsShape)
{
    const struct
    {
        QSize photo, printed;
    } cases[] = {
        {{6000, 3000}, {3000, 1500}}, // twice the limit wide, the limit high
        {{2000, 1000}, {2000, 1000}}, // fits as it is
        {{3000, 6000}, {1500, 3000}}, {{9000, 9000}, {3000, 3000}},
        {{3000, 3000}, {3000, 3000}}, {{4000, 3500}, {3000, 2625}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EquipmentListing::fitPhoto(c.photo), c.printed)
            << c.photo.width() << "x" << c.photo.height();
}

namespace {

class ListingReportTest : public qaveq::testing::ReportRunTest
{
protected:
    QTemporaryDir images;
    const QByteArray noPhoto = "no photo picture";

    void SetUp() override
    {
        ReportRunTest::SetUp();
        UserDef prompts;
        prompts.FileName = u"EQHeader"_s;
        prompts.U1 = u"Colour"_s;
        prompts.U2 = u"Tyres"_s;
        ASSERT_TRUE(company.file<UserDef>().insert(prompts).isOk());
        PREmp operatorOf;
        operatorOf.EmployeeID = 42;
        operatorOf.FirstName = u"Pat"_s;
        operatorOf.LastName = u"Lee"_s;
        ASSERT_TRUE(company.file<PREmp>().insert(operatorOf).isOk());
        for (const auto &[id, description] :
             {std::pair{u"ENG"_s, u"Engine"_s}, {u"FUEL"_s, u"Fuel"_s}, {u"TIRE"_s, u"Tires"_s}})
            code(id, description);

        EQHeader dozer = piece(u"DOZ-1"_s, u"Bulldozer"_s, 1);
        dozer.Year = 2019;
        dozer.Make = u"Caterpillar"_s;
        dozer.OperatorEmployeeID = 42;
        dozer.UD1 = u"Yellow"_s;
        ASSERT_TRUE(company.file<EQHeader>().update(dozer).isOk());
        for (const QString &category : {u"ENG"_s, u"FUEL"_s, u"TIRE"_s})
            cost(u"DOZ-1"_s, category);
        note(u"DOZ-1"_s, u"Service"_s, u"Track tension checked"_s);

        EQHeader excavator = piece(u"EXC-1"_s, u"Excavator"_s, 1);
        excavator.UD2 = u"Michelin"_s;
        excavator.UD9 = u"Spare key in the office"_s; // a field without a prompt
        ASSERT_TRUE(company.file<EQHeader>().update(excavator).isOk());
        note(u"EXC-1"_s, u"Bought"_s, u"From the dealer"_s);

        piece(u"OLD-1"_s, u"Old truck"_s, 0);
        cost(u"OLD-1"_s, u"GONE"_s);
    }

    EQHeader piece(const QString &id, const QString &description, quint8 active)
    {
        EQHeader e;
        e.EquipmentID = id;
        e.Description = description;
        e.Active = active;
        EXPECT_TRUE(company.file<EQHeader>().insert(e).isOk());
        EXPECT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", e));
        return e;
    }

    void code(const QString &id, const QString &description)
    {
        EQCode c;
        c.CategoryID = id;
        c.Description = description;
        c.DefaultUnit = u"Hours"_s;
        c.DefaultExpenseControl = u"6100"_s;
        c.DefaultContraExpenseControl = u"6900"_s;
        ASSERT_TRUE(company.file<EQCode>().insert(c).isOk());
    }

    void cost(const QString &equipment, const QString &category)
    {
        EQCost c;
        c.RecordID = equipment.leftJustified(10) + category;
        c.EquipmentID = equipment;
        c.CostCategory = category;
        c.UnitName = u"Hours"_s;
        c.ControlDebit = u"6100"_s;
        c.ControlCredit = u"6900"_s;
        ASSERT_TRUE(company.file<EQCost>().insert(c).isOk());
    }

    void note(const QString &equipment, const QString &heading, const QString &text)
    {
        Notes n;
        n.EntityID = equipment;
        n.EntityType = u"EQHeader"_s;
        n.Date = SuiteDate::fromYmd(2026, 5, 4);
        n.Heading = heading;
        n.Note = text;
        ASSERT_TRUE(company.file<Notes>().insert(n).isOk());
    }

    void photo(const QString &equipment, const QString &file)
    {
        Images record;
        record.Type = u"Equipment"_s;
        record.StringID = equipment;
        record.FileName = file;
        ASSERT_TRUE(company.file<Images>().insert(record).isOk());
    }

    EQLimits listing(const QString &format, quint8 includeInactive = 0)
    {
        EQLimits d;
        d.LimitID = 7;
        d.Report = u"Equipment List"_s;
        d.ReportTitle = u"Fleet"_s;
        d.ReportFormat = format;
        d.IncludeInactive = includeInactive;
        return d;
    }

    EQLimits categories(const QString &detail, const QString &sort)
    {
        EQLimits d;
        d.LimitID = 8;
        d.Report = u"Category List"_s;
        d.ReportTitle = u"Codes"_s;
        d.DetailSummary = detail;
        d.ReportFormat = sort;
        return d;
    }

    std::unique_ptr<ReportPass> report(const QString &procedure, const EQLimits &definition)
    {
        return makeReport(procedure, {.session = session,
                                      .prompter = prompter,
                                      .definition = definition,
                                      .pictures = {images.path(), noPhoto}});
    }

    // The report's text copy, as "Export This Report" writes it.
    QStringList exportOf(const QString &procedure, const EQLimits &definition)
    {
        devices.pressExport = true;
        ReportRun(*report(procedure, definition), services()).run();
        return devices.exports.value(0);
    }

    // The lines between the report's heading and its parameters.
    static QStringList body(const QStringList &lines)
    {
        const qsizetype end = lines.indexOf(u"Report Parameters:"_s);
        return lines.mid(4, end - 5);
    }
};

TEST_F(ListingReportTest, InactiveEquipmentOnlyWhenIncluded)
{
    const struct
    {
        quint8 include;
        QStringList ids;
    } cases[] = {{0, {u"DOZ-1"_s, u"EXC-1"_s}}, {1, {u"DOZ-1"_s, u"EXC-1"_s, u"OLD-1"_s}}};
    for (const auto &c : cases) {
        devices.exports.clear();
        QStringList ids;
        for (const QString &line : body(exportOf(u"PRINTEQLISTING"_s, listing(u"M"_s, c.include))))
            ids.append(line.section(u'\t', 0, 0));
        EXPECT_EQ(ids, c.ids) << "include inactive " << int(c.include);
    }
}

TEST_F(ListingReportTest, MasterListingExportsItsHeadingAndOneLinePerEquipment)
{
    const QStringList lines = exportOf(u"PRINTEQLISTING"_s, listing(u"M"_s));
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{u"Demonstration Construction Co."_s, u"Equipment Listing"_s, QString(),
                           u"ID\tDescription\tClass Code\t\tBilling Rate\tCurrent "
                           "Meter\tVehicle\t\t\t\tLocation\tControl Accounts"_s}));
    EXPECT_EQ(body(lines).first(),
              u"DOZ-1\tBulldozer\t\t\tInternal: 0.00 Rental: 0.00\t0.00\tLicense: "
              "\tCode: \tVIN: \t\t\tInternal:  External: "_s);
    EXPECT_EQ(lines.mid(lines.indexOf(u"Report Parameters:"_s) + 1),
              (QStringList{u"Equipment Costing > Reports > Equipment Listing"_s,
                           u"Report Title: Fleet"_s, u"Inactive Equipment Excluded"_s}));
    EXPECT_EQ(session.pdfFileName, u"/home/adm/reports/Equipment Listing.pdf"_s);
}

TEST_F(ListingReportTest, CompleteListingPairsCategoriesUnderOneHeading)
{
    EQLimits definition = listing(u"C"_s);
    const QStringList lines = body(exportOf(u"PRINTEQLISTING"_s, definition));
    const QString heading = u"Cost\tCategory\tUnit\tDebit\tCredit"_s;
    ASSERT_EQ(lines.count(heading), 1);
    EXPECT_TRUE(lines.first().startsWith(u"DOZ-1\tBulldozer\t"_s));
    EXPECT_EQ(lines.mid(1, lines.indexOf(heading)),
              (QStringList{u"Year: 2019  Make: Caterpillar"_s, u"Operator: (42) Pat Lee"_s,
                           QString(), heading}));
    // Spacers before the first and third lines; then notes, the user-defined
    // block and a spacer.
    const qsizetype excavator =
        std::find_if(lines.begin(), lines.end(),
                     [](const QString &line) { return line.startsWith(u"EXC-1\t"_s); }) -
        lines.begin();
    ASSERT_LT(excavator, lines.size()) << "the excavator's identification block";
    EXPECT_EQ(lines.mid(lines.indexOf(heading) + 1, excavator - lines.indexOf(heading) - 1),
              (QStringList{QString(), u"ENG\tEngine\tHours\t6100\t6900"_s,
                           u"FUEL\tFuel\tHours\t6100\t6900"_s, QString(),
                           u"TIRE\tTires\tHours\t6100\t6900"_s, u"Notes"_s,
                           u"5/04/26\tService\tTrack tension checked"_s, u"User Defined"_s,
                           u"Colour\tYellow"_s, u"Tyres\t"_s, QString()}));
    // The excavator has no categories: its identification, then its notes
    // and user-defined block, never under the bulldozer's.
    const qsizetype notes = lines.indexOf(u"Notes"_s, excavator);
    ASSERT_GT(notes, excavator);
    EXPECT_EQ(lines.at(notes - 1), QString());
    EXPECT_EQ(lines.mid(notes),
              (QStringList{u"Notes"_s, u"5/04/26\tBought\tFrom the dealer"_s, u"User Defined"_s,
                           u"Colour\t"_s, u"Tyres\tMichelin"_s,
                           u"User Defined 9\tSpare key in the office"_s, QString()}));
}

TEST_F(ListingReportTest, SummaryLeavesOutEquipmentWithoutCategories)
{
    const QStringList lines = exportOf(u"PRINTEQLISTING1"_s, listing(u"S"_s, 1));
    EXPECT_EQ(lines.at(3),
              u"ID\tDescription\tCategory\tCategory Description\tUnit\tDebit\tCredit"_s);
    EXPECT_EQ(body(lines), (QStringList{u"DOZ-1\tBulldozer\tENG\tEngine\tHours\t6100\t6900"_s,
                                        u"\t\tFUEL\tFuel\tHours\t6100\t6900"_s,
                                        u"\t\tTIRE\tTires\tHours\t6100\t6900"_s,
                                        u"OLD-1\tOld truck\tGONE\tCode Not In "
                                        "Dictionary\tHours\t6100\t6900"_s}));
}

TEST_F(ListingReportTest, SummaryOfEquipmentWithoutAnyCategoryPrintsNothing)
{
    EQLimits definition = listing(u"S"_s);
    definition.SelectedEquipment = 1;
    definition.EquipmentFrom = definition.EquipmentTo = u"EXC-1"_s;
    ReportRun(*report(u"PRINTEQLISTING1"_s, definition), services()).run();
    EXPECT_EQ(devices.previews, 0);
    EXPECT_FALSE(prompter.shown().isEmpty());
}

TEST_F(ListingReportTest, DataSheetShowsOnlyFilledUserFieldsAndKeepsThePdfWhereAsked)
{
    QImage picture(600, 300, QImage::Format_RGB32);
    picture.fill(Qt::darkYellow);
    picture.setDotsPerMeterX(3937); // 100 dots an inch: 6 by 3 inches
    picture.setDotsPerMeterY(3937);
    ASSERT_TRUE(picture.save(images.filePath(u"dozer.png"_s)));
    photo(u"DOZ-1"_s, u"dozer.png"_s);
    photo(u"EXC-1"_s, u"gone.png"_s);

    devices.pressPdf = true;
    devices.pdfChoice = u"/home/adm/reports/Fleet sheets.pdf"_s;
    const QStringList all = exportOf(u"PRINTEQLISTING"_s, listing(u"D"_s));
    // The sheets' own heading line, not the listing's.
    ASSERT_GT(all.size(), 4);
    EXPECT_EQ(all.at(3).split(u'\t').mid(0, 7),
              (QStringList{u"ID"_s, u"Description"_s, u"License Plate"_s, u"License Code"_s,
                           u"Class Code"_s, u"VIN"_s, u"Active"_s}));
    const QStringList lines = body(all);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.at(0).contains(u"\tColour: Yellow"_s));
    EXPECT_FALSE(lines.at(0).contains(u"Tyres"_s));
    EXPECT_TRUE(lines.at(1).contains(u"\tTyres: Michelin\tUser Defined 9: Spare key"_s));
    EXPECT_FALSE(lines.at(1).contains(u"Colour"_s));
    EXPECT_EQ(devices.pagesPreviewed, 2); // one page each
    // The photos' files never take the PDF's place.
    EXPECT_EQ(devices.pdfs, QStringList{u"/home/adm/reports/Fleet sheets.pdf"_s});
}

TEST_F(ListingReportTest, PhotoIsHiddenWithoutARecordAndNoPhotoWhenItsFileIsGone)
{
    QImage picture(600, 300, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setDotsPerMeterX(3937);
    picture.setDotsPerMeterY(3937);
    ASSERT_TRUE(picture.save(images.filePath(u"dozer.png"_s)));
    photo(u"DOZ-1"_s, u"dozer.png"_s);
    photo(u"EXC-1"_s, u"gone.png"_s);
    // A name that leads out of the store reads nothing there.
    QTemporaryDir outside;
    ASSERT_TRUE(picture.save(outside.filePath(u"elsewhere.png"_s)));
    photo(u"OLD-1"_s, u"../"_s + QFileInfo(outside.path()).fileName() + u"/elsewhere.png"_s);
    EquipmentListingReport sheets(company, listing(u"D"_s),
                                  EquipmentListingReport::Format::DataSheet,
                                  {images.path(), noPhoto});

    const auto dozer = sheets.photoOf(u"DOZ-1"_s);
    ASSERT_TRUE(dozer);
    EXPECT_EQ(dozer->size, QSize(6000, 3000));
    EXPECT_EQ(EquipmentListing::fitPhoto(dozer->size), QSize(3000, 1500));
    EXPECT_FALSE(QImage::fromData(dozer->encoded).isNull());
    const auto excavator = sheets.photoOf(u"EXC-1"_s);
    ASSERT_TRUE(excavator);
    EXPECT_EQ(excavator->encoded, noPhoto);
    EXPECT_EQ(sheets.photoOf(u"OLD-1"_s)->encoded, noPhoto);
    EXPECT_FALSE(sheets.photoOf(u"LDR-9"_s));
}

TEST_F(ListingReportTest, CategoryRangeWithABlankToRunsToTenZs)
{
    code(u"ZZZZZZZZZZ"_s, u"Anything else"_s);
    code(u"~OLD"_s, u"Retired"_s);
    EQLimits definition = categories(u"S"_s, u"D"_s);
    definition.SelectedCategory = 1;
    definition.CategoryFrom = u"B"_s;
    const QStringList lines = exportOf(u"PRINTEQCATEGORYLIST"_s, definition);
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{u"Demonstration Construction Co."_s, u"Equipment Cost Code Listing"_s,
                           QString(), u"ID\tDescription"_s}));
    EXPECT_EQ(body(lines), (QStringList{u"ZZZZZZZZZZ\tAnything else"_s, u"ENG\tEngine"_s,
                                        u"FUEL\tFuel"_s, u"TIRE\tTires"_s}));
    EXPECT_EQ(
        lines.mid(lines.indexOf(u"Report Parameters:"_s) + 1),
        (QStringList{u"Equipment Costing > Reports > Cost Category Listing Codes"_s,
                     u"Report Title: Codes"_s, u"Cost Categories: B TO ZZZZZZZZZZ"_s,
                     u"Print codes and descriptions only"_s, u"Sort by Category Description"_s}));
    EXPECT_EQ(session.pdfFileName, u"/home/adm/reports/Equipment Category Listing.pdf"_s);
}

TEST_F(ListingReportTest, CompleteCategoryListingCarriesUnitsAndAccounts)
{
    const QStringList lines = exportOf(u"PRINTEQCATEGORYLIST1"_s, categories(u"D"_s, u"C"_s));
    EXPECT_EQ(lines.at(3), u"ID\tDescription\tUnit\tExpense\tContra"_s);
    EXPECT_EQ(body(lines),
              (QStringList{u"ENG\tEngine\tHours\t6100\t6900"_s, u"FUEL\tFuel\tHours\t6100\t6900"_s,
                           u"TIRE\tTires\tHours\t6100\t6900"_s}));

    // The page reads the description first, then the identifier, in both
    // column sets; the text copy above keeps the identifier first.
    const auto leftOf = [this](const QString &text) -> std::optional<qreal> {
        for (const report::TextElement &element : devices.firstPageTexts)
            if (element.text.trimmed() == text)
                return element.rect.left();
        return std::nullopt;
    };
    for (const auto &[first, second] :
         {std::pair{u"Description"_s, u"ID"_s}, {u"Engine"_s, u"ENG"_s}, {u"Tires"_s, u"TIRE"_s}}) {
        ASSERT_TRUE(leftOf(first) && leftOf(second)) << first.toStdString();
        EXPECT_LT(*leftOf(first), *leftOf(second)) << first.toStdString();
    }
}

TEST_F(ListingReportTest, CategoryPagesHoldTheirFullColumns)
{
    for (int n = 1; n <= 187; ++n)
        code(u"C%1"_s.arg(n, 3, 10, QChar(u'0')), u"Category %1"_s.arg(n));
    // 190 categories: 189 on the first page, one on the second.
    ReportRun(*report(u"PRINTEQCATEGORYLIST"_s, categories(u"S"_s, u"C"_s)), services()).run();
    EXPECT_EQ(devices.pagesPreviewed, 2);
    devices = {};
    // 190 in two columns: 126 and 64.
    ReportRun(*report(u"PRINTEQCATEGORYLIST1"_s, categories(u"D"_s, u"C"_s)), services()).run();
    EXPECT_EQ(devices.pagesPreviewed, 2);
}

TEST_F(ListingReportTest, EmptyCategorySelectionSaysSo)
{
    EQLimits definition = categories(u"S"_s, u"C"_s);
    definition.SelectedCategory = 1;
    definition.CategoryFrom = u"X"_s;
    definition.CategoryTo = u"Y"_s;
    ReportRun(*report(u"PRINTEQCATEGORYLIST"_s, definition), services()).run();
    EXPECT_EQ(devices.previews, 0);
    ASSERT_EQ(prompter.shown().size(), 1);
}

} // namespace

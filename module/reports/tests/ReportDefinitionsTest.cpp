#include "reports/ReportDefinitions.h"
#include "records/EQLimits.h"
#include "records/ModuleFiles.h"
#include "reports/ReportSelection.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <barrier>
#include <thread>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class ReportDefinitionsTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 0))};
    ReportDefinitions definitions{session, prompter, clock};
    QStringList called;
    ReportDefinitions::Caller call = [this](const QString &procedure) {
        called.append(procedure + u' ' + session.reportFilter);
        session.printPreview = false; // as a report printed without preview leaves it
    };

    void SetUp() override
    {
        session.userId = u"EQM"_s;
        for (const QString &id : {u"EQM"_s, u"ADM"_s}) {
            UserFile user;
            user.UserID = id;
            ASSERT_TRUE(company.file<UserFile>().insert(user).isOk());
        }
    }

    quint32 add(const QString &report, const QString &title, const QString &owner = u"ADM"_s,
                quint8 locked = 0)
    {
        EQLimits definition;
        definition.Report = report;
        definition.ReportTitle = title;
        definition.UserID = owner;
        definition.Locked = locked;
        definition.ReportType = u"A"_s;
        EXPECT_TRUE(company.file<EQLimits>().insert(definition).isOk());
        return definition.LimitID;
    }

    void member(quint32 limitId, const QString &kind, const QString &value)
    {
        LimList entry;
        entry.FileName = u"EQLimits"_s;
        entry.LimitID = static_cast<qint32>(limitId);
        entry.Kind = kind;
        entry.Value = value;
        ASSERT_TRUE(company.file<LimList>().insert(entry).isOk());
    }

    QStringList members(quint32 limitId)
    {
        QStringList values;
        data::KeyCursor cursor = company.file<LimList>().scan(
            u"KeyLimit", data::ScanOptions::equal({u"EQLimits"_s, qint64(limitId)}));
        for (LimList entry; cursor.next(entry);)
            values.append(Text::clip(entry.Kind) + u'=' + Text::clip(entry.Value));
        return values;
    }
};

TEST_P(ReportDefinitionsTest, ACopyOfAnotherUsersLockedDefinitionIsMineUnlockedWithItsLists)
{
    const QString forty = u"Fuel and oil costs of every dump truck ."_s;
    ASSERT_EQ(forty.size(), 40);
    const quint32 original = add(u"Detail"_s, forty, u"ADM"_s, 1);
    member(original, ListKind::Equipment, u"TRK-101"_s);
    member(original, ListKind::Category, u"FUEL"_s);
    add(u"Detail"_s, u"Another"_s); // its entries must not follow
    member(original + 1, ListKind::Equipment, u"TRK-999"_s);

    const std::optional<quint32> copy = definitions.duplicate(original);
    ASSERT_TRUE(copy.has_value());
    const EQLimits made = *definitions.find(*copy);
    EXPECT_EQ(Text::clip(made.ReportTitle), u"Copy of "_s + forty.left(32));
    EXPECT_EQ(made.ReportTitle.size(), 40);
    EXPECT_EQ(made.UserID, u"EQM");
    EXPECT_EQ(made.Locked, 0);
    EXPECT_EQ(made.ModifyDate, SuiteDate::fromYmd(2026, 3, 15));
    EXPECT_EQ(members(*copy), members(original));
    EXPECT_EQ(members(original), (QStringList{u"Equipment=TRK-101"_s, u"Category=FUEL"_s}));
    EXPECT_TRUE(definitions.find(original)->Locked == 1) << "the original stays as it was";
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_FALSE(definitions.duplicate(999).has_value()) << "no such definition: nothing copied";
}

TEST_P(ReportDefinitionsTest, AnotherUsersLockHoldsAgainstDeleteUntilItsOwnerIsGone)
{
    const quint32 locked = add(u"Analysis"_s, u"Locked by ADM"_s, u"ADM"_s, 1);
    member(locked, ListKind::Equipment, u"TRK-101"_s);
    EXPECT_FALSE(definitions.remove(locked));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"Report Cannot Be Deleted");
    EXPECT_EQ(prompter.shown().first().text,
              u"This report is locked and can only be modified or deleted by user ADM.");
    EXPECT_TRUE(definitions.find(locked).has_value());

    // My own lock does not stop me.
    const quint32 mine = add(u"Analysis"_s, u"Mine"_s, u"EQM"_s, 1);
    EXPECT_FALSE(definitions.refusesDelete(*definitions.find(mine)));

    UserFile adm;
    adm.UserID = u"ADM"_s;
    ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", adm).isOk());
    ASSERT_TRUE(company.file<UserFile>().remove(adm).isOk());
    MemLimit favourite;
    favourite.LimitID = static_cast<qint32>(locked);
    favourite.UserID = u"EQM"_s;
    favourite.FileName = u"EQLimits"_s;
    ASSERT_TRUE(company.file<MemLimit>().insert(favourite).isOk());
    EXPECT_TRUE(definitions.remove(locked));
    EXPECT_FALSE(definitions.find(locked).has_value());
    // A later definition that gets the same number starts without them.
    EXPECT_TRUE(members(locked).isEmpty());
    EXPECT_TRUE(ReportDefinitions::favourites(company, u"EQM"_s).isEmpty());
}

TEST_P(ReportDefinitionsTest, PrintHandsTheNumberToTheFamilysDispatchAndNumbersAnUnnumberedOne)
{
    EXPECT_FALSE(definitions.print(std::nullopt, call));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"No Report Format Selected");
    EXPECT_EQ(prompter.shown().first().text,
              u"This report cannot be printed without first creating |a 'Report Format' with the "
              "desired report limits.|Press the Insert button to create a report format.");
    EXPECT_TRUE(called.isEmpty());

    add(u"Category List"_s, u"Categories"_s);
    // Stored by an old release without a number.
    EQLimits old;
    old.Report = u"Equipment List"_s;
    old.ReportTitle = u"From an old release"_s;
    old.LimitID = 7;
    ASSERT_TRUE(company.file<EQLimits>().insert(old).isOk());
    ASSERT_TRUE(company.file<EQLimits>().fetch(u"KeyLimitID", old).isOk());
    old.LimitID = 0;
    ASSERT_TRUE(company.file<EQLimits>().update(old).isOk());

    EXPECT_TRUE(definitions.print(old, call));
    EXPECT_EQ(called, QStringList{u"PRINTEQLISTINGSERVER 2"_s});
    EXPECT_EQ(Text::clip(definitions.find(2)->ReportTitle), u"From an old release");
    EXPECT_FALSE(definitions.find(0).has_value());
    EXPECT_TRUE(session.printPreview) << "the preview switch is on again";

    called.clear();
    EXPECT_TRUE(definitions.print(*definitions.find(1), call));
    EXPECT_EQ(called, QStringList{u"PRINTEQCATEGORYLISTSERVER 1"_s});
}

TEST_P(ReportDefinitionsTest, ViewSetsTheOnScreenModeAndRefusesTheMaintenanceSchedule)
{
    EQLimits analysis = *definitions.find(add(u"Analysis"_s, u"Usage"_s));
    EXPECT_TRUE(definitions.view(analysis, call));
    EXPECT_EQ(session.reportViewMode, 1);
    analysis.ReportType = u"S"_s;
    EXPECT_TRUE(definitions.view(analysis, call));
    EXPECT_EQ(session.reportViewMode, 2);
    EXPECT_EQ(called.size(), 2);

    session.reportViewMode = 0;
    analysis.ReportType = u"M"_s;
    EXPECT_FALSE(definitions.view(analysis, call));
    EXPECT_EQ(session.reportViewMode, 0);
    EXPECT_EQ(called.size(), 2);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"View Not Available");
    EXPECT_EQ(prompter.shown().first().text,
              u"Report View is not available for the|\"Maintenance Schedule\" report type.|");

    EQLimits detail = *definitions.find(add(u"Detail"_s, u"Detail"_s));
    EXPECT_TRUE(definitions.view(detail, call));
    EXPECT_EQ(session.reportViewMode, 3);
    EXPECT_EQ(called.last(), u"PRINTEQDETAIL 2");
}

TEST_P(ReportDefinitionsTest, AFavouriteIsAddedOncePerUser)
{
    const EQLimits listing = *definitions.find(add(u"Equipment List"_s, u"Master List"_s));
    EXPECT_EQ(definitions.addFavourite(listing), ReportDefinitions::Favourite::Added);
    EXPECT_EQ(prompter.shown().last().caption, u"Report Added");
    EXPECT_EQ(prompter.shown().last().text,
              u"This report has now been added to your Favorite Report list");
    EXPECT_EQ(definitions.addFavourite(listing), ReportDefinitions::Favourite::AlreadyAdded);
    EXPECT_EQ(prompter.shown().last().caption, u"Report Already Added");
    EXPECT_EQ(prompter.shown().last().icon, Message::Icon::Exclamation);

    session.userId = u"ADM"_s;
    EXPECT_EQ(definitions.addFavourite(listing), ReportDefinitions::Favourite::Added);
    const QList<MemLimit> mine = ReportDefinitions::favourites(company, u"EQM"_s);
    ASSERT_EQ(mine.size(), 1);
    EXPECT_EQ(mine.first().LimitID, 1);
    EXPECT_EQ(mine.first().FileName, u"EQLimits");
    EXPECT_EQ(mine.first().ReportName, u"E/Q Equipment Listing");
    EXPECT_EQ(mine.first().Title, u"Master List");
}

TEST_P(ReportDefinitionsTest, NewDefinitionsAndLoadDefaultsTakeTheirFamilysValues)
{
    EQLimits detail;
    detail.LimitID = 4;
    detail.ReportTitle = u"Kept"_s;
    detail.SelectedEquipment = 2;
    detail.Orientation = u"L"_s;
    ReportDefinitions::loadDefaults(detail, ReportFamily::Detail, u"EQM"_s);
    EXPECT_EQ(detail.LimitID, 4u);
    EXPECT_EQ(detail.ReportTitle, u"Kept");
    EXPECT_EQ(detail.Report, u"Detail");
    EXPECT_EQ(detail.SelectedEquipment, 0);
    EXPECT_EQ(detail.Orientation, u"");
    EXPECT_EQ(detail.UserID, u"EQM");
    EXPECT_EQ(detail.SkipEquipment, 1);
    EXPECT_EQ(detail.PrintTransactionDetail, 1);
    EXPECT_EQ(detail.ColorCoding, 1);
    EXPECT_EQ(detail.SelectedRef, 1);
    EXPECT_EQ(detail.RefFrom, Decimal(1));

    EQLimits listing;
    ReportDefinitions::prime(listing, ReportFamily::Listing, u"EQM"_s);
    EXPECT_EQ(listing.UserID, u"") << "a new listing is owned once its form opens";
    ReportDefinitions::fillBlanks(listing, ReportFamily::Listing, u"EQM"_s);
    EXPECT_EQ(listing.UserID, u"EQM");
    EXPECT_EQ(listing.Orientation, u"P");
    EXPECT_EQ(listing.ReportFormat, u"M");

    EQLimits category;
    ReportDefinitions::prime(category, ReportFamily::Category, u"ADM"_s);
    EXPECT_EQ(category.ReportFormat, u"S");
    EXPECT_EQ(category.DetailSummary, u"S");
}

TEST_P(ReportDefinitionsTest, TwoStationsDuplicatingAtOnceGetTheirOwnNumbersAndLists)
{
    const quint32 original = add(u"Detail"_s, u"Shared"_s);
    member(original, ListKind::Equipment, u"TRK-101"_s);
    member(original, ListKind::Category, u"FUEL"_s);
    constexpr int Rounds = 10;
    std::barrier sync(2);
    QList<quint32> copies[2];
    const auto station = [&](int index, const QString &userId) {
        data::Company own(database.settings(), companyCatalog());
        data::Session mine(&own);
        mine.userId = userId;
        ScriptedPrompter answers;
        ReportDefinitions desk(mine, answers, clock);
        for (int round = 0; round < Rounds; ++round) {
            sync.arrive_and_wait();
            if (const std::optional<quint32> copy = desk.duplicate(original))
                copies[index].append(*copy);
        }
    };
    std::thread first(station, 0, u"EQM"_s);
    std::thread second(station, 1, u"ADM"_s);
    first.join();
    second.join();
    QList<quint32> all = copies[0] + copies[1];
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "no number twice";
    EXPECT_EQ(all.size(), 2 * Rounds) << "each waited for the other's transaction";
    for (quint32 copy : all)
        EXPECT_EQ(members(copy), members(original)) << copy;
    EXPECT_EQ(company.file<EQLimits>().count(), 1 + all.size());
    EXPECT_EQ(company.file<LimList>().count(), 2 * (1 + all.size()));
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportDefinitionsTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace

// The equipment's commands: depreciation, cost categories applied to all,
// the list and delete, the attention list, and two stations at once.

#include "CommandLineFixture.h"

#include "core/testing/QtPrinters.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::CommandLineTest;
using qaveq::testing::Outcome;

TEST_F(CommandLineTest, DepreciationPrintsStoredRowsOrTheSummary)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"EQHeader"_s},
          uR"({"EquipmentID":"GEN-1","Description":"Generator","PurchaseDate":"2024-11-10",
"PurchaseValue":"1000.00","SalvageValue":"100.00","DepreciationYears":3})"_s.remove(u'\n'));

    const Outcome dry = qaveq({u"depreciation"_s, u"GEN-1"_s, u"--dry-run"_s});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(qaveq({u"dump"_s, u"GLDepr"_s}).out, QString()) << "a dry run stores nothing";

    const Outcome stored = qaveq({u"depreciation"_s, u"GEN-1"_s});
    EXPECT_EQ(stored.status, 0) << stored.err.toStdString();
    EXPECT_EQ(stored.out, dry.out);
    EXPECT_EQ(stored.out,
              u"Date,SLAmount,SLValue,SYAmount,SYValue,DDBAmount,DDBValue,UD1Amount,UD1Value,"
              u"ActualAmount,"
              "FPPostedLabel,GLTransID\n"
              "2024-12-01,300.00,700.00,450.00,550.00,666.67,333.33,0.00,0.00,0.00,,0\n"
              "2025-01-01,300.00,400.00,300.00,250.00,222.22,111.11,0.00,0.00,0.00,,0\n"
              "2025-02-01,300.00,100.00,150.00,100.00,11.11,100.00,0.00,0.00,0.00,,0\n"_s);

    EXPECT_EQ(qaveq({u"depreciation"_s, u"GEN-1"_s, u"--summary"_s}).out,
              u"Year,SLBegin,SLCharge,SYBegin,SYCharge,DDBBegin,DDBCharge\n"
              "1,1000.00,900.00,1000.00,900.00,1000.00,900.00\n"
              "2,100.00,0.00,100.00,0.00,100.00,0.00\n"_s);

    const Outcome unknown = qaveq({u"depreciation"_s, u"NOPE"_s});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, u"qaveq: there is no equipment \"NOPE\"\n");
}

TEST_F(CommandLineTest, ApplyCategoriesPlansThenApplies)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"VEW","EquipmentReadOnly":1})"_s);
    qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"T-1","Description":"Truck"}
{"EquipmentID":"T-2","Description":"Loader"})"_s);
    qaveq({u"load"_s, u"EQCode"_s}, uR"({"CategoryID":"FUEL","Description":"Fuel"})"_s);

    Outcome plan = qaveq({u"apply-categories"_s});
    EXPECT_EQ(plan.status, 0);
    EXPECT_TRUE(plan.out.startsWith(
        u"Apply to All would add 2 cost categories to 2 pieces of equipment"_s));
    EXPECT_EQ(qaveq({u"--user"_s, u"VEW"_s, u"apply-categories"_s, u"--yes"_s}).status, 1);
    const Outcome applied = qaveq({u"apply-categories"_s, u"--yes"_s});
    EXPECT_EQ(applied.status, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith(
        u"Process Complete: New categories were added to 2 existing equipment records.\n"_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out.count(u'\n'), 2);
}

TEST_F(CommandLineTest, EquipmentListFiltersAndDeleteRefusesLikeTheWindow)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"EQM","EquipmentNoChanges":1}
{"UserID":"VEW","EquipmentReadOnly":1})"_s);
    qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"T-1","Description":"Truck","Active":1}
{"EquipmentID":"T-2","Description":"Loader","Active":0,"SaleDate":"2020-05-01"}
{"EquipmentID":"T-3","Description":"Crane","Active":1})"_s);
    qaveq({u"load"_s, u"EQLogB"_s}, uR"({"LogID":1,"EquipmentID":"T-3"})"_s);
    qaveq({u"load"_s, u"EQCost"_s},
          uR"({"RecordID":"T-1       FUEL","EquipmentID":"T-1","CostCategory":"FUEL"})"_s);

    const auto ids = [this](const QStringList &arguments) {
        QStringList found;
        for (const QString &line : qaveq(QStringList{u"equipment"_s, u"list"_s} + arguments)
                                       .out.split(u'\n', Qt::SkipEmptyParts)
                                       .mid(1))
            found.append(line.section(u'\t', 0, 0));
        return found;
    };
    EXPECT_EQ(ids({}), (QStringList{u"T-1"_s, u"T-3"_s}));
    EXPECT_EQ(ids({u"--inactive"_s}), (QStringList{u"T-1"_s, u"T-2"_s, u"T-3"_s}));
    EXPECT_EQ(ids({u"--inactive"_s, u"--sold"_s}), QStringList{u"T-2"_s});

    EXPECT_EQ(
        qaveq({u"--user"_s, u"VEW"_s, u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s}).status,
        1);
    const Outcome denied =
        qaveq({u"--user"_s, u"EQM"_s, u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s});
    EXPECT_EQ(denied.status, 1);
    EXPECT_TRUE(denied.err.contains(u"Access Denied"_s)) << denied.err.toStdString();
    const Outcome logged = qaveq({u"equipment"_s, u"delete"_s, u"T-3"_s, u"--yes"_s});
    EXPECT_EQ(logged.status, 1);
    EXPECT_TRUE(logged.err.contains(u"Cannot Delete Equipment"_s)) << logged.err.toStdString();

    const Outcome planned = qaveq({u"equipment"_s, u"delete"_s, u"T-1"_s});
    EXPECT_EQ(planned.status, 0);
    EXPECT_EQ(ids({u"--inactive"_s}).size(), 3) << "without --yes nothing goes";
    const Outcome deleted = qaveq({u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s});
    EXPECT_EQ(deleted.status, 0) << deleted.err.toStdString();
    EXPECT_EQ(ids({u"--inactive"_s}), (QStringList{u"T-2"_s, u"T-3"_s}));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out, QString());
}

TEST_F(CommandLineTest, TwoStationsDepreciatingAtOnceNeitherDuplicateNorLoseMonths)
{
    constexpr int Rounds = 50;
    constexpr int Months = 120;
    qaveq({u"init"_s});
    QString equipment;
    for (int round = 0; round < Rounds; ++round)
        equipment +=
            uR"({"EquipmentID":"EQ-%1","Description":"Loader","PurchaseDate":"2020-05-04",)"
            uR"("PurchaseValue":"125000.00","SalvageValue":"5000.00","DepreciationYears":%2})"
            "\n"_s.arg(round)
                .arg(Months);
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s}, equipment).status, 0);

    // Held past its wait, the run gives up, says why and writes nothing.
    const Outcome waited = besideHeld(u"GLDepr"_s, {u"depreciation"_s, u"EQ-0"_s});
    EXPECT_EQ(waited.status, 1);
    EXPECT_TRUE(waited.err.contains(
        u"Another station is using GLDepr. Nothing was changed; try again in a moment."_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"GLDepr"_s}).out, QString());

    for (int round = 0; round < Rounds; ++round) {
        const QString id = u"EQ-%1"_s.arg(round);
        for (const Outcome &run : together({u"depreciation"_s, id}))
            expectWonOrToldWhy(run, u"GLDepr"_s);
    }
    // Every schedule has each of its months once: 120 distinct dates.
    const QStringList lines = qaveq({u"dump"_s, u"GLDepr"_s, u"--format"_s, u"csv"_s})
                                  .out.split(u'\n', Qt::SkipEmptyParts)
                                  .mid(1);
    QHash<QString, QSet<QString>> months;
    for (const QString &line : lines)
        months[line.section(u',', 1, 1)].insert(line.section(u',', 2, 2));
    ASSERT_EQ(lines.size(), Rounds * Months);
    ASSERT_EQ(months.size(), Rounds);
    for (auto it = months.cbegin(); it != months.cend(); ++it)
        EXPECT_EQ(it.value().size(), Months) << it.key().toStdString();
}

TEST_F(CommandLineTest, TwoStationsApplyingCategoriesAtOnceAddEachOnce)
{
    constexpr int Rounds = 50;
    constexpr int Pieces = 7;
    qaveq({u"init"_s});
    QString equipment;
    for (int piece = 0; piece < Pieces; ++piece)
        equipment += uR"({"EquipmentID":"T-%1","Description":"Truck"})"
                     "\n"_s.arg(piece);
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s}, equipment).status, 0);
    ASSERT_EQ(
        qaveq({u"load"_s, u"EQCode"_s}, uR"({"CategoryID":"FIRST","Description":"x"})"_s).status,
        0);
    const Outcome waited = besideHeld(u"EQCost"_s, {u"apply-categories"_s, u"--yes"_s});
    EXPECT_EQ(waited.status, 1);
    EXPECT_TRUE(waited.err.contains(u"Another station is using EQCost."_s));
    EXPECT_FALSE(waited.out.contains(u"Process Complete"_s));
    ASSERT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out, QString());

    for (int round = 0; round < Rounds; ++round) {
        ASSERT_EQ(qaveq({u"load"_s, u"EQCode"_s},
                        uR"({"CategoryID":"C%1","Description":"Category"})"_s.arg(round))
                      .status,
                  0);
        for (const Outcome &run : together({u"apply-categories"_s, u"--yes"_s}))
            expectWonOrToldWhy(run, u"EQCost"_s);
        ASSERT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out.count(u'\n'), Pieces * (round + 2))
            << "round " << round;
    }
}

TEST_F(CommandLineTest, AttentionListsOneThingALineOrAsJsonLines)
{
    qaveq({u"init"_s});
    const Outcome nothing = qaveq({u"attention"_s, u"--json"_s});
    EXPECT_EQ(nothing.status, 0) << nothing.err.toStdString();
    EXPECT_EQ(nothing.out, QString());

    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s},
                    uR"({"EquipmentID":"TRK-1","Description":"Dump Truck"})"_s)
                  .status,
              0);
    ASSERT_EQ(qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Week 12"_s}).out, u"1\n");
    ASSERT_EQ(qaveq({u"batch"_s, u"tag"_s, u"1"_s}).status, 0);

    const Outcome plain = qaveq({u"attention"_s});
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    const QStringList lines = plain.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << plain.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"batch-held              1           Week 12 (batch 1): held "
                                    "by ADM"_s))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], u"no-categories           TRK-1       Dump Truck: no cost categories");

    // Read by another user, so that the holder is not signed on while it runs.
    ASSERT_EQ(qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"EQM"})"_s)
                  .status,
              0);
    const Outcome json = qaveq({u"--user"_s, u"EQM"_s, u"attention"_s, u"--json"_s});
    EXPECT_EQ(json.status, 0);
    const QStringList objects = json.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(objects.size(), 2);
    const QJsonObject held = QJsonDocument::fromJson(objects[0].toUtf8()).object();
    EXPECT_EQ(held.value(u"kind"_s).toString(), u"batch-held");
    EXPECT_EQ(held.value(u"subject"_s).toString(), u"1");
    EXPECT_FALSE(held.contains(u"date"_s)) << "its holder is not signed on: no date to give";
    const QJsonObject bare = QJsonDocument::fromJson(objects[1].toUtf8()).object();
    EXPECT_EQ(bare, (QJsonObject{{u"kind"_s, u"no-categories"_s},
                                 {u"subject"_s, u"TRK-1"_s},
                                 {u"text"_s, u"Dump Truck: no cost categories"_s}}));
    EXPECT_EQ(qaveq({u"attention"_s, u"now"_s}).status, 2);
}

} // namespace

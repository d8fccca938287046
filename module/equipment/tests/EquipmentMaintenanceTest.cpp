#include "equipment/EquipmentAccess.h"
#include "equipment/EquipmentDeleter.h"
#include "equipment/EquipmentFilter.h"
#include "equipment/Search.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/GLDepr.h"
#include "records/Images.h"
#include "records/ModuleFiles.h"
#include "records/Notes.h"

#include "suite/Services.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace qaveq;

namespace {

class EquipmentMaintenanceTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    data::Company company{folder.filePath(u"company"_s), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 30))};

    EquipmentMaintenanceTest()
    {
        session.userId = u"ADM"_s;
        data::Session::setCurrent(&session);
    }
    ~EquipmentMaintenanceTest() override { data::Session::setCurrent(nullptr); }

    void equipment(const QString &id, quint8 active = 1, const QString &description = {})
    {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = description.isEmpty() ? id : description;
        piece.Active = active;
        ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
    }

    void user(const QString &id, quint8 noChanges)
    {
        UserFile record;
        record.UserID = id;
        record.EquipmentNoChanges = noChanges;
        ASSERT_TRUE(company.file<UserFile>().insert(record).isOk());
    }

    QStringList listed(const EquipmentFilter &filter, const QString &file = u"EQHeader"_s,
                       const QString &prefix = u"EQH"_s)
    {
        data::ScanOptions options;
        options.filters = filter.filters(prefix);
        data::KeyCursor cursor = company.file(file).scan(u"KeyEquipmentID", options);
        std::unique_ptr<data::Record> record = company.catalog().find(file)->create();
        QStringList ids;
        while (cursor.next(*record))
            ids.append(std::get<QString>(record->value(u"EquipmentID")).trimmed());
        return ids;
    }

    // One of each record that hangs on the equipment, and a stored file.
    QString dependents(const QString &id)
    {
        Notes note;
        note.EntityID = id;
        note.EntityType = u"EQHeader"_s;
        note.Note = u"Track tension checked"_s;
        EXPECT_TRUE(company.file<Notes>().insert(note).isOk());
        const QString original = folder.filePath(id + u"-manual.pdf"_s);
        QFile file(original);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4");
        file.close();
        const QString stored = suite::STOREIMAGEFILE(original).value_or(QString());
        for (const QString &type : {u"EQHeader"_s, u"Equipment"_s}) {
            Images image;
            image.Type = type;
            image.StringID = id;
            image.FileName = type == u"EQHeader" ? stored : QString();
            EXPECT_TRUE(company.file<Images>().insert(image).isOk());
        }
        GLDepr row;
        row.EquipmentID = id;
        row.Date = 80000;
        EXPECT_TRUE(company.file<GLDepr>().insert(row).isOk());
        EQCost cost;
        cost.RecordID = id.leftJustified(10) + u"FUEL"_s;
        cost.EquipmentID = id;
        cost.CostCategory = u"FUEL"_s;
        EXPECT_TRUE(company.file<EQCost>().insert(cost).isOk());
        return QDir(suite::imageStoreFolder()).filePath(stored);
    }

    qint64 countOf(const QString &file, const QString &key, QList<data::FieldValue> values)
    {
        return company.file(file).scan(key, data::ScanOptions::equal(values)).count();
    }
};

TEST_F(EquipmentMaintenanceTest, TheFourFiltersShowWhatTheirBoxesSay)
{
    equipment(u"CAT-1"_s, 1);
    equipment(u"OLD-1"_s, 0);
    EXPECT_EQ(listed({true, true}), (QStringList{u"CAT-1"_s, u"OLD-1"_s}));
    EXPECT_EQ(listed({true, false}), QStringList{u"CAT-1"_s});
    EXPECT_EQ(listed({false, true}), QStringList{u"OLD-1"_s});
    EXPECT_TRUE(listed({false, false}).isEmpty());
    // The alias list's single condition over the same records.
    EXPECT_EQ(listed({true, false}, u"EQHeaderAlias"_s, u"EQH1"_s), QStringList{u"CAT-1"_s});
    EXPECT_EQ(listed({false, true}, u"EQHeaderAlias"_s, u"EQH1"_s), QStringList{u"OLD-1"_s});
}

TEST_F(EquipmentMaintenanceTest, TheBoxesAreRememberedInTessaryIni)
{
    const QString ini = folder.filePath(u"ini"_s);
    const EquipmentFilter fresh = EquipmentFilter::load(ini);
    EXPECT_TRUE(fresh.showActive && fresh.showInactive) << "a missing value shows everything";

    data::IniManager(QDir(ini).filePath(u"Tessary.ini"_s))
        .update(u"Korvalis Tessary"_s, u"EquipmentBrowse"_s, u"10"_s);
    const EquipmentFilter stored = EquipmentFilter::load(ini);
    EXPECT_TRUE(stored.showActive);
    EXPECT_FALSE(stored.showInactive);

    ASSERT_TRUE((EquipmentFilter{false, true}.save(ini)));
    const EquipmentFilter again = EquipmentFilter::load(ini);
    EXPECT_FALSE(again.showActive);
    EXPECT_TRUE(again.showInactive);
    EXPECT_EQ(data::IniManager(QDir(ini).filePath(u"Tessary.ini"_s))
                  .fetch(u"korvalis tessary"_s, u"equipmentbrowse"_s)
                  .toString(),
              u"01");
}

TEST_F(EquipmentMaintenanceTest, ASingleBatchLogRefusesTheDeleteAndNothingGoes)
{
    equipment(u"TRK-101"_s);
    dependents(u"TRK-101"_s);
    EQLogB log;
    log.LogID = 1;
    log.EquipmentID = u"TRK-101"_s;
    ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());

    EquipmentDeleter deleter(session, prompter, clock);
    EXPECT_EQ(deleter.remove(u"TRK-101"_s, true, {}), EquipmentDeleter::Outcome::HasLogs);
    EXPECT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"Cannot Delete Equipment");
    EXPECT_EQ(company.file<EQHeader>().count(), 1);
    EXPECT_EQ(company.file<Notes>().count(), 1);
    EXPECT_EQ(company.file<EQCost>().count(), 1);
}

TEST_F(EquipmentMaintenanceTest, APostedLogRefusesTheDeleteToo)
{
    equipment(u"TRK-101"_s);
    EQLog log;
    log.EquipmentID = u"TRK-101"_s;
    ASSERT_TRUE(company.file<EQLog>().insert(log).isOk());
    EXPECT_EQ(EquipmentDeleter(session, prompter, clock).remove(u"TRK-101"_s, false, {}),
              EquipmentDeleter::Outcome::HasLogs);
    EXPECT_EQ(company.file<EQHeader>().count(), 1);
}

TEST_F(EquipmentMaintenanceTest, DeletingTakesEverythingThatHangsOnTheEquipment)
{
    session.logUserActivity = 2;
    equipment(u"TRK-101"_s, 1, u"Tandem dump truck"_s);
    equipment(u"TRK-102"_s);
    const QString stored = dependents(u"TRK-101"_s);
    dependents(u"TRK-102"_s);
    ASSERT_TRUE(QFile::exists(stored));

    prompter.answerNext(1); // Confirm Delete: Yes
    EquipmentDeleter deleter(session, prompter, clock);
    EXPECT_EQ(deleter.remove(u"TRK-101"_s, true, {}), EquipmentDeleter::Outcome::Deleted);
    EXPECT_EQ(prompter.shown().first().caption, u"Confirm Delete");

    EXPECT_EQ(countOf(u"EQHeader"_s, u"KeyEquipmentID"_s, {u"TRK-101"_s}), 0);
    EXPECT_EQ(countOf(u"Notes"_s, u"KeyEntityID"_s, {u"TRK-101"_s}), 0);
    EXPECT_EQ(countOf(u"Images"_s, u"KeyTypeStringID"_s, {u"EQHeader"_s, u"TRK-101"_s}), 0);
    EXPECT_EQ(countOf(u"Images"_s, u"KeyTypeStringID"_s, {u"Equipment"_s, u"TRK-101"_s}), 0);
    EXPECT_EQ(countOf(u"GLDepr"_s, u"KeyEquipmentID"_s, {u"TRK-101"_s}), 0);
    EXPECT_EQ(countOf(u"EQCost"_s, u"KeyEquipmentID"_s, {u"TRK-101"_s}), 0);
    EXPECT_FALSE(QFile::exists(stored));
    // The other equipment keeps all of its own.
    EXPECT_EQ(company.file<EQHeader>().count(), 1);
    EXPECT_EQ(company.file<Notes>().count(), 1);
    EXPECT_EQ(company.file<Images>().count(), 2);
    EXPECT_EQ(company.file<EQCost>().count(), 1);

    UserLog entry;
    data::KeyCursor log =
        company.file<UserLog>().scan(company.catalog().find(u"UserLog")->keys.first().name);
    ASSERT_TRUE(log.next(entry));
    EXPECT_EQ(entry.Area.trimmed(), u"EQ Equipment Setup");
    EXPECT_EQ(entry.Text.trimmed(), u"Deleted equipment (TRK-101) Tandem dump truck");
}

TEST_F(EquipmentMaintenanceTest, ACancelledFormOrABusyFileDeletesNothing)
{
    equipment(u"TRK-101"_s);
    const QString stored = dependents(u"TRK-101"_s);
    EquipmentDeleter deleter(session, prompter, clock);
    EXPECT_EQ(deleter.remove(u"TRK-101"_s, false, [] { return false; }),
              EquipmentDeleter::Outcome::Declined);
    EXPECT_EQ(company.file<Notes>().count(), 1) << "the notes came back with the record";
    EXPECT_EQ(company.file<Images>().count(), 2);
    EXPECT_EQ(company.file<GLDepr>().count(), 1);
    EXPECT_TRUE(QFile::exists(stored));

    prompter.answerNext(2); // Confirm Delete: No
    EXPECT_EQ(deleter.remove(u"TRK-101"_s, true, {}), EquipmentDeleter::Outcome::Declined);
    EXPECT_EQ(company.file<EQHeader>().count(), 1);

    data::Company other{folder.filePath(u"company"_s), companyCatalog()};
    data::Transaction held(other.database(), {u"Notes"_s}, 1s);
    ASSERT_TRUE(held.isActive());
    deleter.setTimeout(200ms);
    EXPECT_EQ(deleter.remove(u"TRK-101"_s, false, {}), EquipmentDeleter::Outcome::Failed);
    held.rollback();
    EXPECT_EQ(company.file<EQHeader>().count(), 1);
    EXPECT_EQ(company.file<EQCost>().count(), 1);
}

TEST_F(EquipmentMaintenanceTest, AddCleansAbandonedRecordsFirst)
{
    equipment(u"TRK-101"_s);
    EQHeader blank;
    blank.RecordID = 7;
    ASSERT_TRUE(company.file<EQHeader>().insert(blank).isOk());
    EquipmentDeleter(session, prompter, clock).cleanAbandoned();
    EXPECT_EQ(company.file<EQHeader>().count(), 1);
    EXPECT_EQ(countOf(u"EQHeader"_s, u"KeyEquipmentID"_s, {u"TRK-101"_s}), 1);
}

TEST_F(EquipmentMaintenanceTest, AccessRules)
{
    user(u"ADM"_s, 0);
    user(u"EQM"_s, 1);
    user(u"VEW"_s, 0);
    using A = EquipmentAccess::Action;

    EXPECT_FALSE(EquipmentAccess(session, prompter).refuses(A::Delete));

    session.userId = u"VEW"_s;
    session.equipmentReadOnly = true;
    const EquipmentAccess viewer(session, prompter);
    for (const A action : {A::Add, A::Delete, A::DepreciationBatch})
        EXPECT_TRUE(viewer.refuses(action));
    EXPECT_FALSE(viewer.refuses(A::Change)) << "the form itself shows the record read-only";
    ASSERT_EQ(prompter.shown().size(), 3);
    EXPECT_EQ(prompter.shown().first().caption, u"Insufficient Access");
    EXPECT_EQ(prompter.shown().first().text,
              u"User VEW has read only privileges|in the Equipment Costing module.");

    session.userId = u"EQM"_s;
    session.equipmentReadOnly = false;
    const EquipmentAccess refused(session, prompter);
    for (const A action : {A::Add, A::Change, A::Delete})
        EXPECT_TRUE(refused.refuses(action));
    EXPECT_FALSE(refused.refuses(A::DepreciationBatch));
    EXPECT_TRUE(refused.refusesChange());
    EXPECT_EQ(prompter.shown().last().caption, u"Access Denied");
    EXPECT_EQ(prompter.shown().last().text,
              u"Your user access level is insufficient to make changes to Equipment.");

    session.userId = u"ZZZ"_s;
    const qsizetype before = prompter.shown().size();
    const EquipmentAccess unknown(session, prompter);
    EXPECT_FALSE(unknown.mayChange());
    ASSERT_EQ(prompter.shown().size(), before + 1);
    EXPECT_TRUE(prompter.shown().last().text.endsWith(u" Getting User Record"_s));
}

TEST_F(EquipmentMaintenanceTest, SearchFindsCabFromLowerCaseAb)
{
    equipment(u"LDR-3"_s, 1, u"Loader with enclosed Cab"_s);
    equipment(u"TRK-9"_s, 1, u"Flatbed truck"_s);
    const QList<Search::Candidate> found =
        Search::matching(Search::candidates(company, Search::Mode::Equipment), u"ab"_s);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().id.trimmed(), u"LDR-3");
}

} // namespace

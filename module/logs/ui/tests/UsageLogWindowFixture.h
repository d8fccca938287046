#pragma once

#include "records/EQBatch.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "runtime/ScriptedPrompter.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/SuiteDate.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qaveq::testing {

// What the usage-log window's tests stand on: a private company, a session
// signed on as EQM, and batches made with as many logs as a test needs.
class UsageLogWindowFixture : public ::testing::Test
{
protected:
    TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 15), QTime(9, 0))};
    QTemporaryDir settings; // the workstation's INI folder: the lists' sorts

    UsageLogWindowFixture()
    {
        session.userId = QStringLiteral("EQM");
        session.companyId = company.id();
        session.iniFolder = settings.path();
    }

    // A batch of `owner` at the end of the list, with `logs` logs of TRK-1
    // on the first days of June 2025 at 100, 200, ...
    quint16 batch(const QString &owner, quint8 secure, const QString &description, int logs = 0)
    {
        EQBatch record;
        record.UserID = owner;
        record.Description = description;
        record.Secure = secure;
        record.SortID = qint32(company.file<EQBatch>().count() + 1);
        EXPECT_TRUE(company.file<EQBatch>().insert(record).isOk());
        for (int i = 1; i <= logs; ++i) {
            EQLogB log;
            log.BatchID = quint16(record.BatchID);
            log.EquipmentID = QStringLiteral("TRK-1");
            log.Date = SuiteDate::fromYmd(2025, 6, i);
            log.AdjustedAmount = Decimal(100 * i);
            EXPECT_TRUE(company.file<EQLogB>().insert(log).isOk());
        }
        return record.BatchID;
    }
};

} // namespace qaveq::testing

#pragma once

#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"
#include "transfer/ImportSources.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qaveq::testing {

// A small company to import into: two pieces of equipment with their rates,
// a job with an equipment and a material cost code, an account and the cost
// categories of each piece.
class TransferTest : public ::testing::TestWithParam<std::string>
{
protected:
    TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    QTemporaryDir folder;

    void SetUp() override
    {
        using namespace Qt::StringLiterals;
        session.userId = u"EQM"_s;
        session.costCodeLength = 10;
        equipment(u"LDR-1"_s, Decimal(50), Decimal(80));
        equipment(u"TRK-2"_s, Decimal::fromUnits(1250, 2), Decimal(20));
        JCHeader job;
        job.JobID = u"J100"_s;
        job.Name = u"Main Street"_s;
        ASSERT_TRUE(company.file<JCHeader>().insert(job).isOk());
        costCode(u"0100000000"_s, u"E"_s);
        costCode(u"0200000000"_s, u"M"_s);
        GLMaster account;
        account.Account = u"6110"_s;
        account.Description = u"Equipment expense"_s;
        ASSERT_TRUE(company.file<GLMaster>().insert(account).isOk());
        category(u"LDR-1"_s, u"FUEL"_s, 1);
        category(u"TRK-2"_s, u"REPAIR"_s, 2);
    }

    void equipment(const QString &id, const Decimal &internal, const Decimal &rental)
    {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = id + QStringLiteral(" piece");
        piece.InternalBillingRate = internal;
        piece.RentalBillingRate = rental;
        ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
    }

    void costCode(const QString &code, const QString &type)
    {
        JCCost cost;
        cost.JobID = QStringLiteral("J100");
        cost.CostCode = code + type; // a job cost code holds its type letter
        cost.CostType = type;
        cost.Description = QStringLiteral("Code ") + code;
        ASSERT_TRUE(company.file<JCCost>().insert(cost).isOk());
    }

    void category(const QString &equipmentId, const QString &categoryId, qint32 number)
    {
        EQCost cost;
        cost.RecordID = equipmentId.leftJustified(10) + categoryId;
        cost.PrimaryRecordID = number;
        cost.EquipmentID = equipmentId;
        cost.CostCategory = categoryId;
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    }

    QList<EQLogB> logsOf(quint16 batchId)
    {
        QList<EQLogB> logs;
        data::KeyCursor cursor =
            company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (EQLogB log; cursor.next(log);)
            logs.append(log);
        return logs;
    }

    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
};

} // namespace qaveq::testing

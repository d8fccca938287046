#include "common/ChargeCodes.h"

#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

TEST(ChargeCodesTest, ShorthandsOfBothForms)
{
    struct Row
    {
        const char16_t *typed;
        const char16_t *equipmentForm; // fillCostCode, length 6
        const char16_t *usageLog;      // expandCostCode, length 6
    };
    const Row rows[] = {
        {u"", u"", u""},
        {u"0301", u"030100", u"0301"},
        {u"030100", u"030100", u"030100E"},
        {u"0301001", u"030100L", u"030100L"},
        {u"0301002", u"030100M", u"030100M"},
        {u"0301003", u"030100S", u"030100S"},
        {u"030100.", u"030100E", u"030100E"},
        {u"0301006", u"030100G", u"030100G"},
        {u"0301009", u"030100B", u"030100B"},
        {u"0301004", u"0301004", u"0301004"},
        {u"030100G", u"030100G", u"030100G"},
        {u"03010012", u"03010012", u"03010012"},
    };
    for (const Row &row : rows) {
        const QString typed = QString::fromUtf16(row.typed);
        EXPECT_EQ(ChargeCodes::fillCostCode(typed, 6), QString::fromUtf16(row.equipmentForm))
            << typed.toStdString();
        EXPECT_EQ(ChargeCodes::expandCostCode(typed, 6), QString::fromUtf16(row.usageLog))
            << typed.toStdString();
    }
    EXPECT_EQ(ChargeCodes::fillJobId(u"24"_s, 4), u"2400");
    EXPECT_EQ(ChargeCodes::fillJobId(u"2402"_s, 4), u"2402");
    EXPECT_EQ(ChargeCodes::fillJobId(u" "_s, 4), u"");
}

TEST(ChargeCodesTest, StatesAndNotesOfJobsAndCostCodes)
{
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    const auto addJob = [&](const QString &id, bool active, bool closed, const QString &note) {
        JCHeader job;
        job.JobID = id;
        job.Active = active;
        job.Closed = closed;
        job.ImportantNote = note;
        ASSERT_TRUE(company.file<JCHeader>().insert(job).isOk());
    };
    addJob(u"2401"_s, true, false, {});
    addJob(u"2402"_s, false, false, u"Lane closures only between 9 AM and 3 PM."_s);
    addJob(u"2403"_s, false, true, {});
    EXPECT_EQ(ChargeCodes::job(company, u"2401"_s).state, ChargeCodes::State::Open);
    EXPECT_EQ(ChargeCodes::job(company, u"2402"_s).state, ChargeCodes::State::Inactive);
    EXPECT_EQ(ChargeCodes::job(company, u"2403"_s).state, ChargeCodes::State::Closed);
    EXPECT_EQ(ChargeCodes::job(company, u"2499"_s).state, ChargeCodes::State::NotFound);

    EXPECT_FALSE(ChargeCodes::noteOf(ChargeCodes::job(company, u"2401"_s).record));
    const std::optional<Message> note =
        ChargeCodes::noteOf(ChargeCodes::job(company, u"2402"_s).record);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->caption, u"Important Job Note");
    EXPECT_EQ(note->icon, Message::Icon::Bell);

    for (const auto &[code, type, inactive] : {std::tuple{u"030100"_s, u""_s, false},
                                               {u"030100E"_s, u"E"_s, false},
                                               {u"030100G"_s, u"G"_s, true}}) {
        JCCost cost;
        cost.JobID = u"2401"_s;
        cost.CostCode = code;
        cost.CostType = type;
        cost.Inactive = inactive;
        ASSERT_TRUE(company.file<JCCost>().insert(cost).isOk());
    }
    EXPECT_EQ(ChargeCodes::costCode(company, u"2401"_s, u"030100E"_s, 6).state,
              ChargeCodes::State::Open);
    EXPECT_EQ(ChargeCodes::costCode(company, u"2401"_s, u"030100G"_s, 6).state,
              ChargeCodes::State::Inactive);
    EXPECT_EQ(ChargeCodes::costCode(company, u"2401"_s, u"030100"_s, 6).state,
              ChargeCodes::State::Open)
        << "the base entry of the code";
    EXPECT_EQ(ChargeCodes::costCode(company, u"2401"_s, u"030100M"_s, 6).state,
              ChargeCodes::State::NotFound);
    EXPECT_EQ(ChargeCodes::costCode(company, u"2402"_s, u"030100E"_s, 6).state,
              ChargeCodes::State::NotFound)
        << "another job's codes are not this job's";
}

} // namespace

TEST(ChargeCodesTest, TheCodeLengthsComeFromTheCompanysSettings)
{
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    session.loadCompanySettings();
    EXPECT_EQ(session.costCodeLength, 10) << "a company without settings keeps the defaults";
    EXPECT_EQ(session.jobIdLength, 0);

    Systems settings;
    settings.CostCodeLength = 6;
    settings.JobIDLength = 4;
    ASSERT_TRUE(company.file<Systems>().insert(settings).isOk());
    session.loadCompanySettings();
    EXPECT_EQ(session.costCodeLength, 6);
    EXPECT_EQ(session.jobIdLength, 4);
    EXPECT_EQ(ChargeCodes::fillJobId(u"24"_s, session.jobIdLength), u"2400");
}

TEST(ChargeCodesTest, EachControlAccountNamesWhatItControlsAndItsLedger)
{
    Systems settings;
    const struct
    {
        QString Systems::*field;
        const char16_t *name;
        const char16_t *ledger;
    } rows[] = {
        {&Systems::APControlAccount, u"Accounts Payable", u"Accounts Payable Ledger"},
        {&Systems::SubcontractsPayableAccount, u"Subcontracts Payable", u"Accounts Payable Ledger"},
        {&Systems::RetentionPayableAccount, u"Retention Payable", u"Accounts Payable Ledger"},
        {&Systems::ARControlAccount, u"Accounts Receivable", u"Accounts Receivable Ledger"},
        {&Systems::RetentionReceivableAccount, u"Retention Receivable",
         u"Accounts Receivable Ledger"},
        {&Systems::LaborCostsAccount, u"Labor Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::MaterialCostsAccount, u"Material Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::SubcontractCostsAccount, u"Subcontract Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::EquipmentCostsAccount, u"Equipment Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::GeneralCostsAccount, u"General Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::BurdenCostsAccount, u"Burden Costs on Open Jobs", u"Job Cost Ledger"},
        {&Systems::JobIncomeAccount, u"Job Income on Open Jobs", u"Job Cost Ledger"},
    };
    int number = 2000;
    for (const auto &row : rows)
        settings.*row.field = QString::number(number++);
    number = 2000;
    for (const auto &row : rows) {
        const auto control = ChargeCodes::controlAccount(settings, QString::number(number++));
        ASSERT_TRUE(control) << QString::fromUtf16(row.name).toStdString();
        EXPECT_EQ(control->name, QString::fromUtf16(row.name));
        EXPECT_EQ(control->ledger, QString::fromUtf16(row.ledger));
    }
    EXPECT_FALSE(ChargeCodes::controlAccount(settings, u"6110"_s));
    EXPECT_FALSE(ChargeCodes::controlAccount(Systems(), QString())) << "blank is no account";
}

#include "CategoryApplier.h"

#include "CostCategoryForms.h"
#include "common/ReadOnlyAccess.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "runtime/StandardWarnings.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/UserActivity.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace qaveq {

CategoryApplier::CategoryApplier(data::Session &session, Prompter &prompter,
                                 data::ErrorManager &errors, const Clock &clock)
    : m_session(session)
    , m_prompter(prompter)
    , m_errors(errors)
    , m_clock(clock)
{}

QString CategoryApplier::reportText(int equipmentReceiving)
{
    if (equipmentReceiving == 0)
        return u"No new categories were added to existing|equipment records."_s;
    if (equipmentReceiving == 1)
        return u"New categories were added to one existing|equipment record."_s;
    return u"New categories were added to "_s + QString::number(equipmentReceiving) +
           u" existing|equipment records."_s;
}

CategoryApplier::Result CategoryApplier::applyToAll()
{
    if (refuseReadOnly(m_session, m_prompter))
        return {};
    if (m_prompter.ask(Message{
            u"Confirm Apply to All"_s,
            u"This will add all the listed cost categories to |all pieces of equipment. Do you "
            "want to proceed?"_s,
            u"&Yes|&No"_s, 1, Message::Icon::Question}) != 1)
        return {};
    const Result result = run(true);
    if (!result.done)
        return result;
    m_prompter.ask(Message{u"Process Complete"_s, reportText(result.equipmentReceiving), u"&OK"_s,
                           1, Message::Icon::Information});
    return result;
}

CategoryApplier::Result CategoryApplier::plan()
{
    return run(false);
}

CategoryApplier::Result CategoryApplier::run(bool write)
{
    Result result;
    result.done = true;
    data::Company &company = *m_session.company;
    data::Table &costs = company.file<EQCost>();

    // The categories are few: read them once.
    std::vector<EQCode> categories;
    {
        data::KeyCursor cursor = company.file<EQCode>().scan(u"KeyRecordID");
        EQCode category;
        while (cursor.next(category))
            categories.push_back(category);
    }

    // One transaction on EQCost, or nothing written at all.
    std::optional<data::Transaction> transaction;
    if (write) {
        transaction.emplace(company.database(), QStringList{EQCost::fileSchema().table}, m_timeout);
        if (!transaction->isActive()) {
            m_prompter.ask(Message::alert(u"Apply to All"_s, transaction->notBegunText()));
            Result held;
            held.busy = true;
            return held;
        }
    }
    StandardWarnings warnings(m_errors);
    // A failed write ends the run; the transaction rolls back what was
    // written before it.
    const auto failed = [&](const data::FileError &error, StandardWarning warning) {
        m_errors.savePending(error);
        warnings.show(warning, u"Put"_s, u"EQCost"_s);
        return Result{};
    };

    // Written once the run is committed: a run taken back did nothing.
    QStringList activities;
    data::KeyCursor equipment = company.file<EQHeader>().scan(u"KeyRecordID");
    EQHeader piece;
    while (equipment.next(piece)) {
        bool received = false;
        for (const EQCode &category : categories) {
            EQCost cost;
            cost.RecordID = Text::clip(piece.EquipmentID).leftJustified(10, u' ') +
                            Text::clip(category.CategoryID);
            if (costs.fetch(u"KeyRecordID", cost)) {
                if (cost.ControlDebit == category.DefaultExpenseControl &&
                    cost.ControlCredit == category.DefaultContraExpenseControl)
                    continue;
                cost.ControlDebit = category.DefaultExpenseControl;
                cost.ControlCredit = category.DefaultContraExpenseControl;
                ++result.corrected;
                if (!write)
                    continue;
                if (data::FileStatus status = costs.update(cost); !status)
                    return failed(status.error(), StandardWarning::ProcessFailed);
                activities.append(u"Changed "_s + CostCategoryForms::equipmentCostActivity(cost));
                continue;
            }
            cost = EQCost();
            cost.RecordID = Text::clip(piece.EquipmentID).leftJustified(10, u' ') +
                            Text::clip(category.CategoryID);
            cost.EquipmentID = piece.EquipmentID;
            cost.CostCategory = category.CategoryID;
            cost.UnitName = category.DefaultUnit;
            cost.ControlDebit = category.DefaultExpenseControl;
            cost.ControlCredit = category.DefaultContraExpenseControl;
            cost.ScheduleType = category.ScheduleType;
            cost.MeterName = category.MeterName;
            cost.Meter = category.Meter;
            cost.IntervalName = category.IntervalName;
            cost.Interval = category.Interval;
            if (write) {
                if (data::FileStatus status = costs.insert(cost); !status)
                    return failed(status.error(), StandardWarning::InsertFailed);
                activities.append(u"Added "_s + CostCategoryForms::equipmentCostActivity(cost));
            }
            ++result.added;
            received = true;
        }
        if (received)
            ++result.equipmentReceiving;
    }
    if (equipment.error())
        return failed(*equipment.error(), StandardWarning::ProcessFailed);
    if (write) {
        if (data::FileStatus status = transaction->commit(); !status)
            return failed(status.error(), StandardWarning::ProcessFailed);
        for (const QString &activity : std::as_const(activities))
            data::logUserActivity(m_session, m_clock, CostCategoryForms::EquipmentSetupArea,
                                  activity);
    }
    return result;
}

} // namespace qaveq

#include "EquipmentDeleter.h"

#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/GLDepr.h"
#include "records/Images.h"
#include "records/Notes.h"
#include "records/PriorPeriods.h"

#include "suite/Services.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/UserActivity.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString Caption = u"Delete Equipment"_s;

// Every record of `table` in key `key` from `values`, read before any of
// them is deleted.
template <typename R>
std::vector<R> everyOf(data::Table &table, QStringView key, QList<data::FieldValue> values,
                       std::optional<data::FileError> &error)
{
    std::vector<R> records;
    data::KeyCursor cursor = table.scan(key, data::ScanOptions::equal(std::move(values)));
    R record;
    while (cursor.next(record))
        records.push_back(record);
    if (cursor.error())
        error = cursor.error();
    return records;
}

} // namespace

EquipmentDeleter::EquipmentDeleter(data::Session &session, Prompter &prompter, const Clock &clock)
    : m_session(session)
    , m_prompter(prompter)
    , m_clock(clock)
{}

bool EquipmentDeleter::hasLogs(const QString &equipmentId)
{
    data::Company &company = *m_session.company;
    const QList<data::FieldValue> id{Text::clip(equipmentId)};
    EQLog posted;
    EQLogB batch;
    return company.file<EQLog>()
               .scan(u"KeyEquipmentID", data::ScanOptions::equal(id))
               .next(posted) ||
           company.file<EQLogB>().scan(u"KeyEquipmentID", data::ScanOptions::equal(id)).next(batch);
}

bool EquipmentDeleter::carriesPostedCosts(const QString &equipmentId)
{
    data::Company &company = *m_session.company;
    const QList<data::FieldValue> id{Text::clip(equipmentId)};
    data::KeyCursor costs =
        company.file<EQCost>().scan(u"KeyEquipmentID", data::ScanOptions::equal(id));
    for (EQCost cost; costs.next(cost);)
        if (!cost.CumulativeAmount.isZero() || !cost.CumulativeUnitUsed.isZero())
            return true;
    data::KeyCursor prior =
        company.file<EQPriorC>().scan(u"KeyEquipmentCategoryYear", data::ScanOptions::equal(id));
    for (EQPriorC total; prior.next(total);)
        if (!total.Amount.isZero() || !total.Units.isZero())
            return true;
    return false;
}

bool EquipmentDeleter::refusesDependents(const QString &equipmentId)
{
    if (hasLogs(equipmentId)) {
        m_prompter.ask(Message::alert(
            u"Cannot Delete Equipment"_s,
            u"This piece of equipment has log entries attached to it.  It cannot be deleted "
            "until all attached log entries have been purged using the transaction purge "
            "program."_s));
        return true;
    }
    if (carriesPostedCosts(equipmentId)) {
        m_prompter.ask(Message::alert(
            u"Cannot Delete Equipment"_s,
            u"A cost category of this piece of equipment carries posted costs.  It cannot be "
            "deleted while the costs are kept."_s));
        return true;
    }
    return false;
}

void EquipmentDeleter::cleanAbandoned()
{
    data::Table &file = m_session.company->file<EQHeader>();
    EQHeader blank;
    if (file.fetch(u"KeyEquipmentID", blank))
        static_cast<void>(file.remove(blank));
    EQHeader zero;
    if (file.fetch(u"KeyRecordID", zero))
        static_cast<void>(file.remove(zero));
}

void EquipmentDeleter::failed(const QString &text)
{
    m_prompter.ask(Message::alert(Caption, text));
}

bool EquipmentDeleter::deleteRecordOnly(const QString &equipmentId)
{
    data::Table &file = m_session.company->file<EQHeader>();
    EQHeader piece;
    piece.EquipmentID = equipmentId;
    if (!file.fetch(u"KeyEquipmentID", piece))
        return false;
    if (const data::FileStatus status = file.remove(piece); !status) {
        failed(status.error().text() + u" Deleting EQHeader Record"_s);
        return false;
    }
    return true;
}

EquipmentDeleter::Outcome EquipmentDeleter::remove(const QString &equipmentId, bool confirm,
                                                   const std::function<bool()> &deleteRecord)
{
    const QString id = Text::clip(equipmentId);
    if (refusesDependents(id))
        return Outcome::HasLogs;
    if (confirm &&
        m_prompter.ask(Message{u"Confirm Delete"_s,
                               u"Are you sure you want to delete the highlighted record?"_s,
                               u"&Yes|&No"_s, 2, Message::Icon::Question}) != 1)
        return Outcome::Declined;

    data::Company &company = *m_session.company;
    EQHeader piece;
    piece.EquipmentID = id;
    const QString description = company.file<EQHeader>().fetch(u"KeyEquipmentID", piece)
                                    ? Text::clip(piece.Description)
                                    : QString();

    data::Transaction transaction(company.database(),
                                  {u"Notes"_s, u"Images"_s, u"GLDepr"_s, u"EQCost"_s, u"EQHeader"_s,
                                   u"EQPrior"_s, u"EQPriorM"_s, u"EQPriorC"_s, u"EQPriorCM"_s,
                                   u"EQLog"_s, u"EQLogB"_s},
                                  m_timeout);
    if (!transaction.isActive()) {
        failed(transaction.notBegunText());
        return Outcome::Failed;
    }
    // Asked again under the transaction: a log entered or posted since the
    // question was answered keeps the equipment.
    if (refusesDependents(id))
        return Outcome::HasLogs;
    // The first failure ends the delete; the transaction puts back what went
    // before it, so no equipment is left with half of its records.
    std::optional<data::FileError> readError;
    std::vector<QString> storedFiles;
    const auto removeAll = [&](data::Table &table, auto records, const QString &action) {
        if (readError) {
            failed(readError->text() + action);
            return false;
        }
        for (auto &record : records)
            if (const data::FileStatus status = table.remove(record); !status) {
                failed(status.error().text() + action);
                return false;
            }
        return true;
    };

    std::vector<Notes> notes =
        everyOf<Notes>(company.file<Notes>(), u"KeyEntityID", {id}, readError);
    std::erase_if(notes,
                  [](const Notes &note) { return Text::clip(note.EntityType) != u"EQHeader"; });
    if (!removeAll(company.file<Notes>(), notes, u" Deleting Notes"_s))
        return Outcome::Failed;

    // Attachments, and the photograph, which is an Images record of its own type.
    for (const QString &type : {u"EQHeader"_s, u"Equipment"_s}) {
        const std::vector<Images> images =
            everyOf<Images>(company.file<Images>(), u"KeyTypeStringID", {type, id}, readError);
        for (const Images &image : images)
            if (!Text::clip(image.FileName).isEmpty())
                storedFiles.push_back(Text::clip(image.FileName));
        if (!removeAll(company.file<Images>(), images, u" Deleting Images Record"_s))
            return Outcome::Failed;
    }
    if (!removeAll(company.file<GLDepr>(),
                   everyOf<GLDepr>(company.file<GLDepr>(), u"KeyEquipmentID", {id}, readError),
                   u" Deleting GLDepr Record"_s))
        return Outcome::Failed;
    if (!removeAll(company.file<EQCost>(),
                   everyOf<EQCost>(company.file<EQCost>(), u"KeyEquipmentID", {id}, readError),
                   u" Deleting EQCost Record"_s))
        return Outcome::Failed;
    // The prior-period totals of the equipment and of its cost categories
    // (all of them zero, or the delete was refused above).
    if (!removeAll(company.file<EQPrior>(),
                   everyOf<EQPrior>(company.file<EQPrior>(), u"KeyEquipmentYear", {id}, readError),
                   u" Deleting EQPrior Record"_s) ||
        !removeAll(
            company.file<EQPriorM>(),
            everyOf<EQPriorM>(company.file<EQPriorM>(), u"KeyEquipmentYearPeriod", {id}, readError),
            u" Deleting EQPriorM Record"_s) ||
        !removeAll(company.file<EQPriorC>(),
                   everyOf<EQPriorC>(company.file<EQPriorC>(), u"KeyEquipmentCategoryYear", {id},
                                     readError),
                   u" Deleting EQPriorC Record"_s) ||
        !removeAll(company.file<EQPriorCM>(),
                   everyOf<EQPriorCM>(company.file<EQPriorCM>(), u"KeyEquipmentCategoryYearPeriod",
                                      {id}, readError),
                   u" Deleting EQPriorCM Record"_s))
        return Outcome::Failed;

    data::logUserActivity(m_session, m_clock, u"EQ Equipment Setup"_s,
                          u"Deleted equipment ("_s + id + u") "_s + description);
    if (!(deleteRecord ? deleteRecord() : deleteRecordOnly(id)))
        return Outcome::Declined;
    if (const data::FileStatus status = transaction.commit(); !status) {
        failed(status.error().text() + u" Deleting EQHeader Record"_s);
        return Outcome::Failed;
    }
    // The records are gone for good: now their stored files may go too.
    for (const QString &stored : storedFiles)
        suite::REMOVEIMAGEFILE(stored);
    return Outcome::Deleted;
}

} // namespace qaveq

#include "JournalPosting.h"
#include "PostingRecords.h"

#include "data/Company.h"

#include "core/Picture.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

QString entryName(const JournalEntry &entry)
{
    return entry.journal + u' ' + QString::number(entry.number);
}

void checkBalance(const JournalEntry &entry)
{
    if (entry.lines.isEmpty())
        throw Refusal{u"Journal entry %1 has no lines."_s.arg(entryName(entry))};
    if (entry.lines.size() > std::numeric_limits<qint16>::max())
        throw Refusal{
            u"Journal entry %1 has more lines than a journal can number."_s.arg(entryName(entry))};
    Decimal debits;
    Decimal credits;
    for (const GLTrans &line : entry.lines) {
        if (line.CreditDebit == u"D")
            debits += line.Amount;
        else if (line.CreditDebit == u"C")
            credits += line.Amount;
        else
            throw Refusal{u"A line of journal entry %1 is neither a debit nor a credit."_s.arg(
                entryName(entry))};
    }
    if (debits != credits)
        throw Refusal{u"Journal entry %1 does not balance: debits %2, credits %3."_s.arg(
            entryName(entry), debits.toString(2), credits.toString(2))};
}

void postEntry(data::Company &company, const FiscalCalendar &calendar, MovedRecords &moved,
               const JournalEntry &entry)
{
    checkBalance(entry);
    qint16 lineNo = 0;
    for (GLTrans line : entry.lines) {
        const GLFiscal *period = calendar.holding(line.TransDate);
        if (!period)
            throw Refusal{u"No fiscal period holds the date %1 of journal entry %2."_s.arg(
                Picture::parse(u"@d2").format(qint64(line.TransDate)), entryName(entry))};
        line.RecordID = 0;
        line.JournalID = entry.journal;
        line.JournalNo = entry.number;
        line.LineNo = ++lineNo;
        line.FiscalPeriod = period->FiscalPeriod;
        if (!line.SubsidiaryCode.isEmpty()) {
            const QString equipment = line.SubsidiaryCode.left(10).trimmed();
            const QString category = line.SubsidiaryCode.mid(10);
            const bool debit = line.CreditDebit == u"D";
            if (!moved.chargeCategory(equipment, category, *period,
                                      debit ? line.SubsidiaryQuantity : -line.SubsidiaryQuantity,
                                      debit ? line.Amount : -line.Amount))
                throw Refusal{
                    u"Journal entry %1 charges cost category %2 of equipment %3, which "
                    u"that equipment does not have."_s.arg(entryName(entry), category, equipment)};
        }
        check(company.file<GLTrans>().insert(line), u"Inserting GLTrans"_s);
    }
}

} // namespace

JournalOutcome postJournalEntries(data::Session &session, const QList<JournalEntry> &entries,
                                  std::chrono::milliseconds wait)
{
    JournalOutcome outcome;
    outcome.error = runInTransaction(session, u"Posting"_s,
                                     {u"GLTrans"_s, u"EQCost"_s, u"EQPriorC"_s, u"EQPriorCM"_s},
                                     wait, [&](data::Company &company) {
                                         const FiscalCalendar calendar(company);
                                         MovedRecords moved(company);
                                         for (const JournalEntry &entry : entries) {
                                             postEntry(company, calendar, moved, entry);
                                             outcome.lines += int(entry.lines.size());
                                         }
                                         moved.writeBack();
                                     });
    outcome.posted = outcome.error.isEmpty();
    if (!outcome.posted)
        outcome.lines = 0;
    return outcome;
}

} // namespace qaveq::suite

#pragma once

#include "data/suite/GeneralLedgerFiles.h"

#include <QList>
#include <QString>

#include <chrono>

namespace qaveq {

namespace data {
class Session;
}

namespace suite {

// One source document on its way to the general ledger: a vendor's bill from
// accounts payable, a payroll charge, a billing from accounts receivable.
struct JournalEntry
{
    QString journal;      // the source journal: "A/P", "P/R", "A/R"
    qint32 number = 0;    // the document's number, which becomes the journal number
    QList<GLTrans> lines; // date, account, "D" or "C", amount and what the line is about
};

struct JournalOutcome
{
    bool posted = false;
    int lines = 0; // G/L lines written
    QString error; // why nothing was posted
};

// The suite's posting of source journals to the general ledger. Each entry
// must balance (its debits equal its credits); its lines take the entry's
// journal and number, are numbered from 1 and fall into the fiscal period
// that holds their date. A line whose subsidiary code names an equipment's
// cost category (equipment ID in ten places, then the category) charges that
// category: a debit adds its quantity and amount to the category's totals and
// prior-period totals, a credit takes them off. All entries are one
// transaction: a refused entry leaves every file as it was.
JournalOutcome postJournalEntries(data::Session &session, const QList<JournalEntry> &entries,
                                  std::chrono::milliseconds wait = std::chrono::seconds(5));

} // namespace suite

} // namespace qaveq

#pragma once

#include "suite/JournalPosting.h"

#include <QDate>
#include <QList>
#include <QString>

namespace qaveq::demo {

class DemoRun;
struct EquipmentPlan;

// The month's bills of one cost category of an equipment, as the company's
// bookkeeping enters them, by the category's billing plan: vendor bills
// through accounts payable (the bill itself on file in A/P), every third
// repair the shop's own mechanic through payroll, and a quarter of the
// repairs partly billed back to the customer who caused the damage (the
// billing on file in A/R). Their G/L entries are added to `entries`, for the
// suite's journal posting; `invoiceNo` numbers the month's documents.
void billCategory(DemoRun &run, const EquipmentPlan &equipment, const QString &category,
                  const QDate &month, int invoiceNo, QList<suite::JournalEntry> &entries);

} // namespace qaveq::demo

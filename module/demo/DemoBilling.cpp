#include "DemoBilling.h"
#include "DemoPlan.h"
#include "DemoRun.h"

#include "data/suite/AccountsFiles.h"

using namespace Qt::StringLiterals;

namespace qaveq::demo {

namespace {

struct Bill
{
    Decimal quantity;
    Decimal amount;
};

// What the category's vendors bill this month, or nothing.
std::optional<Bill> billed(DemoRun &run, const EquipmentPlan &e, const CategoryPlan &plan,
                           const QDate &month)
{
    const auto amount = [&](int low, int high) {
        return DemoRun::cents(qint64(run.between(low, high)) * plan.amountStep);
    };
    switch (plan.billing) {
    case Billing::Never:
        return std::nullopt;
    case Billing::Metered: {
        const KindPlan &kind = planOf(e.kind);
        const Decimal quantity(run.between(kind.fuelLow, kind.fuelHigh));
        return Bill{quantity, (quantity * amount(plan.amountLow, plan.amountHigh)).stored(15, 2)};
    }
    case Billing::Premium:
        // 1.2% of the purchase value a year, billed monthly.
        return Bill{Decimal(1), (Decimal(e.purchaseValue) / Decimal(1000)).stored(15, 2)};
    case Billing::Yearly:
        if (month.month() != (e.year % 12) + 1)
            return std::nullopt;
        return Bill{Decimal(1), amount(plan.amountLow, plan.amountHigh)};
    case Billing::Occasional:
        if (!run.chance(plan.odds))
            return std::nullopt;
        {
            const Decimal quantity(run.between(plan.quantityLow, plan.quantityHigh));
            return Bill{quantity, amount(plan.amountLow, plan.amountHigh)};
        }
    }
    return std::nullopt;
}

GLTrans line(const QDate &date, const QString &account, const Decimal &amount, bool credit)
{
    GLTrans t;
    t.TransDate = DemoRun::day(date);
    t.Account = account;
    t.CreditDebit = credit ? u"C"_s : u"D"_s;
    t.Amount = amount;
    return t;
}

} // namespace

void billCategory(DemoRun &run, const EquipmentPlan &e, const QString &category, const QDate &month,
                  int invoiceNo, QList<suite::JournalEntry> &entries)
{
    const std::optional<Bill> bill = billed(run, e, categoryPlan(category), month);
    if (!bill)
        return;
    const QString id = QString::fromUtf16(e.id);
    const QString account = run.categories.at(category).DefaultExpenseControl;
    const QString description = run.categories.at(category).Description;
    const QDate date = month.addDays(run.between(0, month.daysInMonth() - 1));
    const QString subsidiary = DemoRun::costRecordId(id, category);

    // Every third repair is the shop's own mechanic's work, through payroll;
    // the rest are vendor bills through accounts payable.
    if (category == u"REPAIRS" && invoiceNo % 3 == 0) {
        const Person &mechanic = Employees[invoiceNo % std::size(Employees)];
        GLTrans labor = line(date, account, bill->amount, false);
        labor.SubsidiaryCode = subsidiary;
        labor.EquipmentID = id;
        labor.SubsidiaryQuantity = bill->quantity;
        labor.EmployeeID = mechanic.id;
        labor.Description = u"Shop labor - "_s + id;
        GLTrans wages = line(date, u"2100"_s, bill->amount, true);
        wages.EmployeeID = mechanic.id;
        wages.Description = labor.Description;
        entries.append({u"P/R"_s, invoiceNo, {labor, wages}});
        return;
    }
    GLTrans cost = line(date, account, bill->amount, false);
    cost.SubsidiaryCode = subsidiary;
    cost.EquipmentID = id;
    cost.SubsidiaryQuantity = bill->quantity;
    cost.VendorID = u"V"_s + QString::number(100 + run.between(1, int(std::size(Vendors))));
    cost.APInvoiceID = invoiceNo;
    cost.Description = description + u" - "_s + id;
    GLTrans payable = line(date, u"2000"_s, bill->amount, true);
    payable.VendorID = cost.VendorID;
    payable.APInvoiceID = invoiceNo;
    payable.Description = cost.Description;
    entries.append({u"A/P"_s, invoiceNo, {cost, payable}});
    // The vendor's bill; some come without a number.
    APInvoice invoice;
    invoice.InvoiceID = invoiceNo;
    invoice.VendorID = cost.VendorID;
    if (invoiceNo % 9 != 0)
        invoice.InvoiceNumber = u"INV-"_s + QString::number(invoiceNo);
    run.put(invoice);

    // A quarter of the repairs are damage a customer caused while renting:
    // a fifth of the bill is billed back, a credit to the category.
    if (category == u"REPAIRS" && invoiceNo % 4 == 0) {
        const Decimal recovered = (bill->amount / Decimal(5)).stored(15, 2);
        ARBilling billing;
        billing.CustomerID = u"C"_s + QString::number(100 + invoiceNo % int(std::size(Customers)));
        if (invoiceNo % 3 != 1)
            billing.BillingNumber = u"B-"_s + QString::number(invoiceNo);
        run.put(billing);
        GLTrans credit = line(date, account, recovered, true);
        credit.SubsidiaryCode = subsidiary;
        credit.EquipmentID = id;
        credit.CustomerID = billing.CustomerID;
        credit.ARInvoiceID = billing.BillingID;
        credit.Description = u"Damage billed back - "_s + id;
        GLTrans receivable = line(date, u"1100"_s, recovered, false);
        receivable.CustomerID = billing.CustomerID;
        receivable.ARInvoiceID = billing.BillingID;
        receivable.Description = credit.Description;
        entries.append({u"A/R"_s, billing.BillingID, {credit, receivable}});
    }
}

} // namespace qaveq::demo

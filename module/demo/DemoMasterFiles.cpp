#include "DemoMasterFiles.h"
#include "DemoPlan.h"
#include "DemoRun.h"

#include "assets/ScheduleCalculator.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/Notes.h"
#include "records/UserDef.h"

#include "data/suite/AccountsFiles.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace qaveq::demo {

namespace {

QString text(const char16_t *value)
{
    return QString::fromUtf16(value);
}

void settings(DemoRun &run)
{
    Systems systems;
    systems.CompanyName = Text::left(run.company.name(), 40);
    systems.EquipmentExpenseAccount = u"6110"_s;
    systems.CurrentEarningsAccount = u"3900"_s;
    systems.CashAccount = u"1000"_s;
    systems.APControlAccount = u"2000"_s;
    systems.ARControlAccount = u"1100"_s;
    systems.PayrollControlAccount = u"2100"_s;
    systems.EquipmentClearingAccount = u"6300"_s;
    systems.EquipmentCostsAccount = u"5000"_s;
    systems.JobIncomeAccount = u"4000"_s;
    systems.ChangeOrders = 1;
    systems.CostCodeLength = 6;
    systems.JobIDLength = 4;
    run.put(systems);
    Control control;
    control.SystemPassword = u"SUPERVISOR"_s;
    run.put(control);

    for (const UserPlan &u : Users) {
        UserFile user;
        user.UserID = text(u.id);
        user.FirstName = text(u.first);
        user.LastName = text(u.last);
        user.EquipmentReadOnly = user.UsageLogsReadOnly = u.readOnly ? 1 : 0;
        user.PostUsageLogs = u.readOnly ? 0 : 1;
        run.put(user);
    }
    for (const DropListPlan &list : DropLists)
        for (const char16_t *value : list.values) {
            DropList entry;
            entry.FieldName = text(list.field);
            entry.Value = text(value);
            run.put(entry);
        }
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    QString *const fields[] = {&prompts.U1, &prompts.U2, &prompts.U3, &prompts.U4, &prompts.U5};
    static_assert(std::size(fields) == std::size(EquipmentPrompts));
    for (std::size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = text(EquipmentPrompts[i]);
    run.put(prompts);
}

void ledger(DemoRun &run)
{
    for (const AccountPlan &a : Accounts) {
        GLMaster account;
        account.Account = text(a.account);
        account.Description = text(a.description);
        account.AccountType = text(a.type);
        run.put(account);
    }
    // Calendar fiscal years, from the first year with logs to this year; the
    // months up to the last one with logs are closed.
    int number = 0;
    for (int year = run.firstMonth.year(); year <= run.today.year(); ++year) {
        for (int month = 1; month <= 12; ++month) {
            const QDate start(year, month, 1);
            GLFiscal period;
            period.FiscalPeriod = ++number;
            period.Label = start.toString(u"MM/yy"_s);
            period.Description = QLocale(QLocale::English).toString(start, u"MMMM yyyy"_s);
            period.StartDate = DemoRun::day(start);
            period.EndDate = DemoRun::day(start.addMonths(1).addDays(-1));
            period.PeriodDate = period.EndDate;
            period.FiscalYear = static_cast<qint16>(year);
            period.Period = static_cast<quint8>(month);
            period.Closed = start <= run.lastMonth ? 1 : 0;
            run.put(period);
            run.periods.append(Period{number, start});
        }
    }
}

void jobs(DemoRun &run)
{
    for (const JobPlan &j : Jobs) {
        JCHeader job;
        job.JobID = text(j.id);
        job.Name = text(j.name);
        job.Active = j.active ? 1 : 0;
        job.Closed = j.active ? 0 : 1;
        if (job.JobID == QStringView(NotedJob))
            job.ImportantNote = text(NotedJobText);
        run.put(job);
        for (const CodePlan &c : CostCodes) {
            JCCost base;
            base.JobID = job.JobID;
            base.CostCode = text(c.code);
            base.Description = text(c.description);
            base.GLAccount = u"5000"_s;
            run.put(base);
            for (const char16_t *type : CostTypes) {
                JCCost cost = base;
                cost.RecordID = 0;
                cost.CostType = text(type);
                cost.CostCode = base.CostCode + cost.CostType;
                cost.Inactive = cost.CostCode == QStringView(InactiveCostCode) ? 1 : 0;
                run.put(cost);
            }
        }
    }
    for (const ChangeOrderPlan &c : ChangeOrders) {
        JCCOH header;
        header.JobID = text(c.job);
        header.ChangeOrder = text(c.changeOrder);
        header.Description = text(c.description);
        header.Date = DemoRun::day(run.lastMonth.addMonths(-run.between(1, 6)));
        header.Approved = 1;
        run.put(header);
        JCCOD detail;
        detail.JobID = header.JobID;
        detail.ChangeOrder = header.ChangeOrder;
        detail.CostCode = text(c.costCode);
        detail.Description = header.Description;
        detail.Amount = DemoRun::cents(c.amount);
        run.put(detail);
    }
}

void people(DemoRun &run)
{
    for (int i = 0; i < int(std::size(Vendors)); ++i) {
        APVendor vendor;
        vendor.VendorID = u"V"_s + QString::number(101 + i);
        vendor.Name = text(Vendors[i]);
        run.put(vendor);
    }
    for (int i = 0; i < int(std::size(Customers)); ++i) {
        ARCustomer customer;
        customer.CustomerID = u"C"_s + QString::number(100 + i);
        customer.Name = text(Customers[i]);
        run.put(customer);
    }
    for (const Person &p : Employees) {
        PREmp employee;
        employee.EmployeeID = p.id;
        employee.FirstName = text(p.first);
        employee.LastName = text(p.last);
        run.put(employee);
    }
    for (const CertificationPlan &c : Certifications) {
        PRCert cert;
        cert.CertifiedID = text(c.id);
        cert.Description = text(c.description);
        run.put(cert);
    }
}

void categories(DemoRun &run)
{
    for (const CategoryPlan &c : Categories) {
        EQCode code;
        code.CategoryID = text(c.id);
        code.Description = text(c.description);
        code.DefaultUnit = text(c.unit);
        code.DefaultExpenseControl = text(c.account);
        code.DefaultContraExpenseControl = u"6300"_s;
        code.ScheduleType = text(c.scheduleType);
        code.MeterName = text(c.meterName);
        code.Meter = c.meter;
        code.IntervalName = text(c.intervalName);
        code.Interval = c.interval;
        run.put(code);
        run.categories[code.CategoryID] = code;
        ++run.summary.categories;
    }
}

// Whatever the calculator would show stops the build: the demonstration
// company is written whole or not at all.
class FailurePrompter final : public Prompter
{
public:
    int ask(const Message &message) override
    {
        throw data::DataError((message.caption + u": "_s + message.text).toStdString());
    }
};

// The cost categories of an equipment, with the defaults of each category.
void costCategories(DemoRun &run, const EquipmentPlan &e, const QString &id)
{
    for (const QString &category : categoriesOf(e.kind)) {
        const EQCode &code = run.categories.at(category);
        EQCost cost;
        cost.RecordID = DemoRun::costRecordId(id, category);
        cost.PrimaryRecordID = 0;
        cost.EquipmentID = id;
        cost.CostCategory = category;
        cost.UnitName = code.DefaultUnit;
        cost.ControlDebit = code.DefaultExpenseControl;
        cost.ControlCredit = code.DefaultContraExpenseControl;
        cost.ScheduleType = code.ScheduleType;
        cost.MeterName = code.MeterName;
        cost.Meter = code.Meter;
        cost.IntervalName = code.IntervalName;
        cost.Interval = code.Interval;
        run.put(cost);
    }
}

EQHeader equipmentOf(DemoRun &run, const EquipmentPlan &e, int userDefined)
{
    EQHeader eq;
    eq.EquipmentID = text(e.id);
    eq.Description = text(e.description);
    eq.ClassCode = text(e.classCode);
    eq.Make = text(e.make);
    eq.Model = text(e.model);
    eq.Year = static_cast<qint16>(e.year);
    eq.PhysicalDescription = u"%1 %2 %3, %4"_s.arg(e.year).arg(eq.Make, eq.Model, eq.Description);
    const bool miles = e.kind == Kind::Pickup;
    eq.UsageUnit = miles ? u"Miles"_s : u"Hours"_s;
    eq.BillingUnit = miles ? u"Miles"_s : u"Hours"_s;
    eq.VehicleLicense =
        (e.kind == Kind::Truck || miles) ? u"TX%1"_s.arg(run.between(10000, 99999)) : QString();
    eq.LicenseCode = e.kind == Kind::Truck ? u"CDL"_s : miles ? u"COM"_s : u"EXM"_s;
    eq.VIN = u"%1%2"_s.arg(eq.Make.left(3).toUpper()).arg(run.between(10000000, 99999999));
    eq.Active = e.active ? 1 : 0;
    eq.Location = e.active ? u"YARD"_s : u"SOLD"_s;
    const QDate purchased =
        QDate(run.today.year(), run.today.month(), 15).addMonths(-e.purchasedMonthsAgo);
    eq.PurchaseDate = DemoRun::day(purchased);
    eq.PurchaseValue = Decimal(e.purchaseValue);
    eq.SalvageValue = Decimal(e.salvageValue);
    eq.DepreciationYears = static_cast<quint16>(e.months);
    eq.DepreciationMethod = static_cast<quint8>(e.method);
    if (e.method == 4)
        eq.UD1DepreciationDesc = u"Accelerated 7-Year"_s;
    if (!e.active) {
        eq.SaleDate = DemoRun::day(run.firstMonth.addMonths(-run.between(2, 10)));
        eq.SaleValue = Decimal(e.salvageValue + run.between(1, 8) * 500);
    }
    eq.DestinationType = u"G/L Account"_s;
    eq.DestinationAccount = u"6150"_s;
    eq.AssetAccount = (e.kind == Kind::Truck || miles) ? u"1510"_s : u"1500"_s;
    eq.CertifiedID = miles ? QString() : (e.kind == Kind::Truck ? u"TEAM"_s : u"OPENG"_s);
    eq.InternalBillingRate = miles ? DemoRun::cents(65) : Decimal(e.internalRate);
    eq.RentalBillingRate = (eq.InternalBillingRate * Decimal::fromUnits(130, 2)).stored(15, 2);
    eq.InternalIncomeControl = u"4500"_s;
    eq.RentalIncomeControl = u"4510"_s;
    eq.OperatorEmployeeID = e.active ? Employees[userDefined % std::size(Employees)].id : 0;
    eq.UD1 = u"POL-%1"_s.arg(run.between(100000, 999999));
    eq.UD2 = e.active ? u"FC-%1"_s.arg(run.between(1000, 9999)) : QString();
    eq.UD5 = u"K%1"_s.arg(userDefined + 1, 3, 10, QChar(u'0'));
    bool numeric = false;
    const qlonglong number = eq.EquipmentID.toLongLong(&numeric);
    eq.EquipmentSortID = numeric ? u"%1"_s.arg(number, 10, 10, QChar(u'0')) : eq.EquipmentID;
    return eq;
}

// The fleet and its cost categories, before any log is posted: posting
// adds to their totals. Each equipment gets the schedule its form would
// calculate, so that the fixed-asset reports and graphs have figures from the
// first start; the company's transaction is already open, so the calculator
// writes inside it.
void fleet(DemoRun &run)
{
    FailurePrompter failures;
    int userDefined = 0;
    for (const EquipmentPlan &e : Fleet) {
        EQHeader eq = equipmentOf(run, e, userDefined++);
        run.put(eq);
        ++run.summary.equipment;
        ScheduleCalculator calculator(run.company, failures);
        run.summary.scheduleRows += calculator.calculate(eq).rowsInserted;
        costCategories(run, e, eq.EquipmentID);
        if (e.kind == Kind::Excavator && e.active) {
            Notes note;
            note.EntityID = eq.EquipmentID;
            note.EntityType = u"EQHeader"_s;
            note.Date = DemoRun::day(run.lastMonth.addDays(run.between(0, 20)));
            note.Heading = u"Track inspection"_s;
            note.Note =
                u"Undercarriage measured at 55% wear; plan track replacement next season."_s;
            note.UserID = u"EQM"_s;
            run.put(note);
        }
    }
}

} // namespace

void writeMasterFiles(DemoRun &run)
{
    settings(run);
    ledger(run);
    jobs(run);
    people(run);
    categories(run);
    fleet(run);
}

} // namespace qaveq::demo

#include "DemoCompany.h"

#include "assets/ScheduleCalculator.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/Notes.h"
#include "records/PriorPeriods.h"
#include "records/UserDef.h"

#include "data/Company.h"
#include "data/FileSchema.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/AccountsFiles.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "suite/UsageLogPosting.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <map>
#include <random>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

enum class Kind {
    Truck,
    WheelLoader,
    Loader,
    Excavator,
    Dozer,
    Roller,
    Compressor,
    Generator,
    Pickup
};

struct EquipmentPlan
{
    const char16_t *id;
    const char16_t *description;
    const char16_t *classCode;
    const char16_t *make;
    const char16_t *model;
    int year;
    Kind kind;
    bool active;
    int internalRate; // per usage unit, whole currency
    int purchaseValue;
    int salvageValue;
    int months; // depreciation months
    int method;
    int purchasedMonthsAgo;
};

const EquipmentPlan Fleet[] = {
    {u"TRK-101", u"Dump Truck, Tandem Axle", u"TRUCK", u"Ironhorse", u"HD880", 2019, Kind::Truck,
     true, 85, 168000, 35000, 84, 1, 70},
    {u"TRK-102", u"Dump Truck, Tandem Axle", u"TRUCK", u"Ironhorse", u"HD880", 2020, Kind::Truck,
     true, 85, 174500, 36000, 84, 1, 58},
    {u"TRK-103", u"Dump Truck, Tri-Axle", u"TRUCK", u"Ironhorse", u"HD990", 2021, Kind::Truck, true,
     95, 198000, 40000, 84, 2, 44},
    {u"TRK-104", u"Water Truck, 4,000 Gal", u"TRUCK", u"Bluestone", u"WT-40", 2016, Kind::Truck,
     true, 70, 121000, 18000, 120, 1, 104},
    {u"TRK-105", u"Lowboy Tractor", u"TRUCK", u"Ironhorse", u"HX700", 2018, Kind::Truck, true, 110,
     189000, 30000, 96, 3, 82},
    {u"TRK-106", u"Service Truck with Crane", u"TRUCK", u"Bluestone", u"SV-55", 2022, Kind::Truck,
     true, 75, 142000, 25000, 84, 1, 33},
    {u"TRK-107", u"Fuel and Lube Truck", u"TRUCK", u"Bluestone", u"FL-30", 2017, Kind::Truck, true,
     65, 118000, 15000, 96, 1, 92},
    {u"TRK-108", u"Dump Truck, Single Axle", u"TRUCK", u"Ironhorse", u"HD540", 2008, Kind::Truck,
     false, 60, 96000, 9000, 120, 1, 200},
    {u"LDR-201", u"Wheel Loader, 3.5 yd", u"LOADER", u"Granite Works", u"GW950", 2018,
     Kind::WheelLoader, true, 125, 265000, 50000, 96, 3, 80},
    {u"LDR-202", u"Wheel Loader, 2.5 yd", u"LOADER", u"Granite Works", u"GW930", 2021,
     Kind::WheelLoader, true, 105, 212000, 42000, 96, 1, 46},
    {u"LDR-203", u"Skid Steer Loader", u"LOADER", u"Titan Heavy", u"S-270", 2022, Kind::Loader,
     true, 55, 68500, 12000, 60, 1, 30},
    {u"LDR-204", u"Backhoe Loader", u"LOADER", u"Titan Heavy", u"B-415", 2015, Kind::WheelLoader,
     true, 65, 112000, 20000, 120, 2, 118},
    {u"EXC-301", u"Excavator, 30 Ton", u"EXCAVATOR", u"Granite Works", u"GX330", 2020,
     Kind::Excavator, true, 145, 338000, 70000, 96, 1, 60},
    {u"EXC-302", u"Excavator, 20 Ton", u"EXCAVATOR", u"Granite Works", u"GX320", 2019,
     Kind::Excavator, true, 120, 246000, 48000, 96, 2, 71},
    {u"EXC-303", u"Mini Excavator, 5 Ton", u"EXCAVATOR", u"Titan Heavy", u"M-55", 2023,
     Kind::Excavator, true, 60, 74000, 15000, 60, 1, 22},
    {u"EXC-304", u"Excavator, 45 Ton", u"EXCAVATOR", u"Granite Works", u"GX345", 2012,
     Kind::Excavator, false, 175, 410000, 60000, 120, 1, 160},
    {u"CMP-401", u"Air Compressor, 185 CFM", u"COMPRESSOR", u"Airline", u"P185", 2017,
     Kind::Compressor, true, 18, 21500, 3000, 84, 1, 90},
    {u"CMP-402", u"Air Compressor, 375 CFM", u"COMPRESSOR", u"Airline", u"P375", 2021,
     Kind::Compressor, true, 28, 46000, 7000, 84, 1, 42},
    {u"CMP-403", u"Air Compressor, 185 CFM", u"COMPRESSOR", u"Airline", u"P185", 2010,
     Kind::Compressor, false, 15, 17800, 1500, 84, 1, 180},
    {u"DZR-501", u"Crawler Dozer, 20 Ton", u"DOZER", u"Titan Heavy", u"D-61", 2019, Kind::Dozer,
     true, 140, 312000, 60000, 96, 3, 68},
    {u"RLR-701", u"Vibratory Roller, 84 in", u"ROLLER", u"Titan Heavy", u"VR-84", 2020,
     Kind::Roller, true, 80, 138000, 25000, 96, 1, 57},
    {u"GEN-601", u"Generator, 100 kW", u"GENERATOR", u"Airline", u"G100", 2018, Kind::Generator,
     true, 35, 52000, 6000, 84, 4, 84},
    {u"1001", u"Pickup, 3/4 Ton Crew Cab", u"PICKUP", u"Prairie Motors", u"2500 HD", 2022,
     Kind::Pickup, true, 1, 58500, 15000, 60, 1, 34},
    {u"1002", u"Pickup, 1/2 Ton", u"PICKUP", u"Prairie Motors", u"1500", 2021, Kind::Pickup, true,
     1, 46000, 12000, 60, 1, 47},
    {u"1003", u"Pickup, 1 Ton Flatbed", u"PICKUP", u"Prairie Motors", u"3500", 2019, Kind::Pickup,
     true, 1, 61000, 11000, 60, 2, 75},
};

// The service trucks lubricate the other equipment in the field.
bool servicesOthers(const QString &id)
{
    return id == u"TRK-106" || id == u"TRK-107";
}

struct CategoryPlan
{
    const char16_t *id;
    const char16_t *description;
    const char16_t *unit;
    const char16_t *account;
    const char16_t *scheduleType; // N, M, E or B
    const char16_t *meterName;
    int meter;
    const char16_t *intervalName;
    int interval;
};

const CategoryPlan Categories[] = {
    {u"FUEL", u"Fuel", u"Gal", u"6100", u"N", u"", 0, u"", 0},
    {u"REPAIRS", u"Repairs", u"Each", u"6110", u"N", u"", 0, u"", 0},
    {u"TIRES", u"Tires", u"Each", u"6120", u"N", u"", 0, u"", 0},
    {u"INSURANCE", u"Insurance", u"Mo", u"6130", u"N", u"", 0, u"", 0},
    {u"LICENSE", u"Licenses and Permits", u"Each", u"6140", u"E", u"", 0, u"Months", 12},
    {u"OIL", u"Oil Change and Lubrication", u"Qts", u"6170", u"M", u"Hours", 250, u"", 0},
    {u"PM", u"Preventive Maintenance", u"Each", u"6160", u"B", u"Hours", 500, u"Months", 6},
    {u"INSPECT", u"Annual Safety Inspection", u"Each", u"6160", u"E", u"", 0, u"Months", 12},
    {u"PARTS", u"Parts", u"Each", u"6180", u"N", u"", 0, u"", 0},
    {u"HAULING", u"Hauling and Transport", u"Load", u"6190", u"N", u"", 0, u"", 0},
    {u"SHOPLABOR", u"Shop Labor", u"Hrs", u"6200", u"N", u"", 0, u"", 0},
    {u"STORAGE", u"Yard Storage", u"Mo", u"6210", u"N", u"", 0, u"", 0},
};

QStringList categoriesOf(Kind kind)
{
    switch (kind) {
    case Kind::Truck:
        return {u"FUEL"_s,    u"REPAIRS"_s, u"TIRES"_s, u"INSURANCE"_s,
                u"LICENSE"_s, u"OIL"_s,     u"PM"_s,    u"INSPECT"_s};
    case Kind::Pickup:
        return {u"FUEL"_s, u"REPAIRS"_s, u"TIRES"_s, u"INSURANCE"_s, u"LICENSE"_s, u"OIL"_s};
    case Kind::WheelLoader:
        return {u"FUEL"_s, u"REPAIRS"_s, u"TIRES"_s, u"INSURANCE"_s, u"OIL"_s, u"PM"_s, u"PARTS"_s};
    case Kind::Loader:
    case Kind::Excavator:
    case Kind::Dozer:
    case Kind::Roller:
        return {u"FUEL"_s, u"REPAIRS"_s, u"INSURANCE"_s, u"OIL"_s,
                u"PM"_s,   u"PARTS"_s,   u"HAULING"_s};
    case Kind::Compressor:
    case Kind::Generator:
        return {u"FUEL"_s, u"REPAIRS"_s, u"OIL"_s, u"PM"_s};
    }
    return {};
}

struct AccountPlan
{
    const char16_t *account;
    const char16_t *description;
    const char16_t *type;
};

const AccountPlan Accounts[] = {
    {u"1000", u"Cash - Operating", u"A"},          {u"1100", u"Accounts Receivable", u"A"},
    {u"1500", u"Construction Equipment", u"A"},    {u"1510", u"Vehicles", u"A"},
    {u"1590", u"Accumulated Depreciation", u"A"},  {u"2000", u"Accounts Payable", u"L"},
    {u"2100", u"Payroll Liabilities", u"L"},       {u"3000", u"Common Stock", u"Q"},
    {u"3900", u"Current Earnings", u"Q"},          {u"4000", u"Contract Revenue", u"R"},
    {u"4500", u"Equipment Internal Income", u"R"}, {u"4510", u"Equipment Rental Income", u"R"},
    {u"5000", u"Job Equipment Costs", u"E"},       {u"6100", u"Fuel Expense", u"E"},
    {u"6110", u"Repairs Expense", u"E"},           {u"6120", u"Tire Expense", u"E"},
    {u"6130", u"Equipment Insurance", u"E"},       {u"6140", u"Licenses and Permits", u"E"},
    {u"6150", u"Depreciation Expense", u"E"},      {u"6160", u"Preventive Maintenance", u"E"},
    {u"6170", u"Oil and Lubricants", u"E"},        {u"6180", u"Parts Expense", u"E"},
    {u"6190", u"Hauling Expense", u"E"},           {u"6200", u"Shop Labor", u"E"},
    {u"6210", u"Equipment Storage", u"E"},         {u"6300", u"Equipment Cost Clearing", u"E"},
};

struct JobPlan
{
    const char16_t *id;
    const char16_t *name;
    bool active;
};

const JobPlan Jobs[] = {
    {u"2401", u"Riverside Bridge Rehabilitation", true},
    {u"2402", u"Oak Street Reconstruction", true},
    {u"2403", u"Mill Creek Culvert Replacement", true},
    {u"2501", u"County Road 12 Overlay", true},
    {u"2502", u"Hillcrest Subdivision Phase 2", true},
    {u"2301", u"Airport Apron Expansion", false},
};

struct CodePlan
{
    const char16_t *code;
    const char16_t *description;
};

const CodePlan CostCodes[] = {
    {u"020100", u"Site Clearing"}, {u"020200", u"Excavation"},    {u"020300", u"Grading"},
    {u"020400", u"Hauling"},       {u"030100", u"Concrete Work"}, {u"320100", u"Asphalt Paving"},
};

const char16_t *const CostTypes[] = {u"L", u"M", u"S", u"E", u"G", u"B"};

struct Person
{
    int id;
    const char16_t *first;
    const char16_t *last;
};

const Person Employees[] = {
    {101, u"Dale", u"Ortiz"},   {102, u"Marcy", u"Keane"},     {103, u"Tomas", u"Reyes"},
    {104, u"Lena", u"Fogarty"}, {105, u"Victor", u"Hale"},     {106, u"Ruth", u"Ambrose"},
    {107, u"Sam", u"Whitlock"}, {108, u"Nina", u"Castellano"},
};

struct Money
{
    Decimal units;
    Decimal amount;
};

struct Period
{
    int number; // running fiscal period number
    QDate start;
};

class Builder
{
public:
    Builder(data::Company &company, QDate today)
        : m_company(company)
        , m_random(static_cast<unsigned>(today.toJulianDay()))
    {
        m_lastMonth = QDate(today.year(), today.month(), 1).addMonths(-1);
        m_firstMonth = m_lastMonth.addMonths(-17);
        m_today = today;
    }

    DemoCompany::Summary build()
    {
        settings();
        ledger();
        jobs();
        people();
        categories();
        equipment();
        history();
        settle();
        unpostedBatches();
        reportDefinitions();
        return m_summary;
    }

private:
    static void check(const data::FileStatus &status, const QString &file)
    {
        if (!status)
            throw data::DataError((file + u": "_s + status.error().text()).toStdString());
    }
    template <class R> void put(R &record)
    {
        check(m_company.file<R>().insert(record), R::fileSchema().name);
    }
    template <class R> void save(R &record)
    {
        check(m_company.file<R>().update(record), R::fileSchema().name);
    }
    template <class R> R fetched(R record, QStringView key)
    {
        check(m_company.file<R>().fetch(key, record), R::fileSchema().name);
        return record;
    }

    int between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    static Decimal cents(qint64 value) { return Decimal::fromUnits(value, 2); }
    static DayNumber day(const QDate &date) { return SuiteDate::fromQDate(date); }
    static QString padded(const QString &id) { return id.leftJustified(10, u' '); }

    void settings()
    {
        Systems systems;
        systems.CompanyName = Text::left(m_company.name(), 40);
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
        put(systems);
        Control control;
        control.SystemPassword = u"SUPERVISOR"_s;
        put(control);

        const struct
        {
            const char16_t *id, *first, *last;
            bool readOnly;
        } users[] = {{u"ADM", u"System", u"Administrator", false},
                     {u"EQM", u"Pat", u"Delgado", false},
                     {u"VEW", u"Office", u"Viewer", true}};
        for (const auto &u : users) {
            UserFile user;
            user.UserID = QString::fromUtf16(u.id);
            user.FirstName = QString::fromUtf16(u.first);
            user.LastName = QString::fromUtf16(u.last);
            user.EquipmentReadOnly = user.UsageLogsReadOnly = u.readOnly ? 1 : 0;
            user.PostUsageLogs = u.readOnly ? 0 : 1;
            put(user);
        }

        for (const char16_t *code : {u"TRUCK", u"LOADER", u"EXCAVATOR", u"COMPRESSOR", u"DOZER",
                                     u"ROLLER", u"GENERATOR", u"PICKUP"}) {
            DropList entry;
            entry.FieldName = u"EQH Class Code"_s;
            entry.Value = QString::fromUtf16(code);
            put(entry);
        }
        for (const char16_t *code : {u"CDL", u"COM", u"EXM", u"APP"}) {
            DropList entry;
            entry.FieldName = u"EQH License Code"_s;
            entry.Value = QString::fromUtf16(code);
            put(entry);
        }
        UserDef prompts;
        prompts.FileName = u"EQHeader"_s;
        prompts.U1 = u"Insurance Policy"_s;
        prompts.U2 = u"Fuel Card"_s;
        prompts.U3 = u"GPS Unit"_s;
        prompts.U4 = u"Tire Size"_s;
        prompts.U5 = u"Key Number"_s;
        put(prompts);
    }

    void ledger()
    {
        for (const AccountPlan &a : Accounts) {
            GLMaster account;
            account.Account = QString::fromUtf16(a.account);
            account.Description = QString::fromUtf16(a.description);
            account.AccountType = QString::fromUtf16(a.type);
            put(account);
        }
        // Calendar fiscal years, from the first year with logs to this year.
        int number = 0;
        for (int year = m_firstMonth.year(); year <= m_today.year(); ++year) {
            for (int month = 1; month <= 12; ++month) {
                const QDate start(year, month, 1);
                GLFiscal period;
                period.FiscalPeriod = ++number;
                period.Label = start.toString(u"MM/yy"_s);
                period.Description = QLocale(QLocale::English).toString(start, u"MMMM yyyy"_s);
                period.StartDate = day(start);
                period.EndDate = day(start.addMonths(1).addDays(-1));
                period.PeriodDate = period.EndDate;
                period.FiscalYear = static_cast<qint16>(year);
                period.Period = static_cast<quint8>(month);
                period.Closed = start <= m_lastMonth ? 1 : 0;
                put(period);
                m_periods.append(Period{number, start});
            }
        }
    }

    void jobs()
    {
        for (const JobPlan &j : Jobs) {
            JCHeader job;
            job.JobID = QString::fromUtf16(j.id);
            job.Name = QString::fromUtf16(j.name);
            job.Active = j.active ? 1 : 0;
            job.Closed = j.active ? 0 : 1;
            if (job.JobID == u"2402")
                job.ImportantNote = u"Lane closures only between 9 AM and 3 PM."_s;
            put(job);
            for (const CodePlan &c : CostCodes) {
                JCCost base;
                base.JobID = job.JobID;
                base.CostCode = QString::fromUtf16(c.code);
                base.Description = QString::fromUtf16(c.description);
                base.GLAccount = u"5000"_s;
                put(base);
                for (const char16_t *type : CostTypes) {
                    JCCost cost = base;
                    cost.RecordID = 0;
                    cost.CostType = QString::fromUtf16(type);
                    cost.CostCode = base.CostCode + cost.CostType;
                    cost.Inactive = (cost.CostCode == u"030100G") ? 1 : 0;
                    put(cost);
                }
            }
        }
        const struct
        {
            const char16_t *job, *changeOrder, *description, *costCode;
            int amount;
        } changes[] = {{u"2401", u"CO-001", u"Additional Pier Repair", u"030100E", 4850000},
                       {u"2401", u"CO-002", u"Extended Detour Grading", u"020300E", 1275000},
                       {u"2402", u"CO-001", u"Storm Drain Relocation", u"020200E", 2210000}};
        for (const auto &c : changes) {
            JCCOH header;
            header.JobID = QString::fromUtf16(c.job);
            header.ChangeOrder = QString::fromUtf16(c.changeOrder);
            header.Description = QString::fromUtf16(c.description);
            header.Date = day(m_lastMonth.addMonths(-between(1, 6)));
            header.Approved = 1;
            put(header);
            JCCOD detail;
            detail.JobID = header.JobID;
            detail.ChangeOrder = header.ChangeOrder;
            detail.CostCode = QString::fromUtf16(c.costCode);
            detail.Description = header.Description;
            detail.Amount = cents(c.amount);
            put(detail);
        }
    }

    void people()
    {
        // The vendors and customers the ledger's bills and billings name.
        const char16_t *const vendors[] = {
            u"Ridgeline Fuel & Lube",   u"Summit Tire Center",        u"Crossroads Diesel Repair",
            u"Valley Insurance Agency", u"State Motor Vehicles",      u"Ironworks Parts Supply",
            u"Blue Ribbon Inspections", u"Hartley Hydraulic Service", u"Prairie Oil Company"};
        for (int i = 0; i < int(std::size(vendors)); ++i) {
            APVendor vendor;
            vendor.VendorID = u"V"_s + QString::number(101 + i);
            vendor.Name = QString::fromUtf16(vendors[i]);
            put(vendor);
        }
        const char16_t *const customers[] = {u"Granite Ridge Builders", u"City of Maple Falls",
                                             u"Northside Paving", u"Lakeshore Excavating"};
        for (int i = 0; i < int(std::size(customers)); ++i) {
            ARCustomer customer;
            customer.CustomerID = u"C"_s + QString::number(100 + i);
            customer.Name = QString::fromUtf16(customers[i]);
            put(customer);
        }
        for (const Person &p : Employees) {
            PREmp employee;
            employee.EmployeeID = p.id;
            employee.FirstName = QString::fromUtf16(p.first);
            employee.LastName = QString::fromUtf16(p.last);
            put(employee);
        }
        for (const auto &[id, description] :
             {std::pair{u"OPENG", u"Operating Engineer"}, std::pair{u"TEAM", u"Teamster Driver"},
              std::pair{u"LABOR", u"Construction Laborer"}}) {
            PRCert cert;
            cert.CertifiedID = QString::fromUtf16(id);
            cert.Description = QString::fromUtf16(description);
            put(cert);
        }
    }

    void categories()
    {
        for (const CategoryPlan &c : Categories) {
            EQCode code;
            code.CategoryID = QString::fromUtf16(c.id);
            code.Description = QString::fromUtf16(c.description);
            code.DefaultUnit = QString::fromUtf16(c.unit);
            code.DefaultExpenseControl = QString::fromUtf16(c.account);
            code.DefaultContraExpenseControl = u"6300"_s;
            code.ScheduleType = QString::fromUtf16(c.scheduleType);
            code.MeterName = QString::fromUtf16(c.meterName);
            code.Meter = c.meter;
            code.IntervalName = QString::fromUtf16(c.intervalName);
            code.Interval = c.interval;
            put(code);
            m_categories[code.CategoryID] = code;
            ++m_summary.categories;
        }
    }

    GLTrans transaction(const QString &journal, int journalNo, int periodIndex, const QDate &date,
                        const QString &account, const Decimal &amount, bool credit)
    {
        GLTrans t;
        t.JournalID = journal;
        t.JournalNo = journalNo;
        t.LineNo = static_cast<qint16>(++m_lineNo);
        t.FiscalPeriod = m_periods[periodIndex].number;
        t.TransDate = day(date);
        t.Account = account;
        t.CreditDebit = credit ? u"C"_s : u"D"_s;
        t.Amount = amount;
        return t;
    }

    // Eighteen months of the company's life. Each month's usage logs are
    // entered in a batch and posted by the suite's posting run on the last day
    // of the month, so that the posted logs, the equipment and category
    // totals, the prior-period files and the G/L lines are what posting makes
    // of them; the vendor bills of the equipment cost categories go to the G/L
    // through accounts payable.
    void history()
    {
        for (const EquipmentPlan &e : Fleet)
            m_meters[QString::fromUtf16(e.id)] = Decimal(e.kind == Kind::Pickup ? 18000 : 2400);
        data::Session session(&m_company);
        int invoiceNo = 5000;
        for (QDate month = m_firstMonth; month <= m_lastMonth; month = month.addMonths(1)) {
            if (month != m_firstMonth)
                closePeriod(month.month() == 1); // calendar fiscal years
            const int periodIndex = periodOf(month);
            m_lineNo = 0;
            EQBatch batch;
            batch.UserID = u"EQM"_s;
            batch.Description = u"Field Logs "_s + month.toString(u"MM/yyyy"_s);
            check(UsageLogBatches::insertBatch(m_company, batch), u"EQBatch"_s);
            for (const EquipmentPlan &e : Fleet) {
                if (!e.active)
                    continue;
                const QString id = QString::fromUtf16(e.id);
                enterLogs(e, id, month, batch.BatchID);
                for (const QString &category : categoriesOf(e.kind))
                    billCategory(e, id, category, month, periodIndex, ++invoiceNo);
            }
            post(session, batch, month);
        }
        m_summary.transactions = static_cast<int>(m_company.file<GLTrans>().count());
    }

    // The suite's period close: the month-to-date totals of the equipment and
    // its cost categories start again from zero, and in the first period of a
    // fiscal year the year-to-date ones too.
    void closePeriod(bool newYear)
    {
        data::KeyCursor fleet = m_company.file<EQHeader>().scan(u"KeyEquipmentID");
        for (EQHeader eq; fleet.next(eq);) {
            bool changed =
                cleared({&eq.MonthInternalUnits, &eq.MonthInternalIncome, &eq.MonthRentalUnits,
                         &eq.MonthRentalIncome, &eq.MonthUnits, &eq.MonthNonProductiveUnits});
            if (newYear)
                changed |=
                    cleared({&eq.YearInternalUnits, &eq.YearInternalIncome, &eq.YearRentalUnits,
                             &eq.YearRentalIncome, &eq.YearUnits, &eq.YearNonProductiveUnits});
            if (changed)
                save(eq);
        }
        data::KeyCursor costs = m_company.file<EQCost>().scan(u"KeyRecordID");
        for (EQCost cost; costs.next(cost);) {
            bool changed = cleared({&cost.MonthUnitsUsed, &cost.MonthAmount});
            if (newYear)
                changed |= cleared({&cost.YearUnitsUsed, &cost.YearAmount});
            if (changed)
                save(cost);
        }
        for (const data::KeyCursor *cursor : {&fleet, &costs})
            if (cursor->error())
                throw data::DataError(cursor->error()->text().toStdString());
    }

    static bool cleared(std::initializer_list<Decimal *> totals)
    {
        bool changed = false;
        for (Decimal *total : totals) {
            changed = changed || !total->isZero();
            *total = Decimal();
        }
        return changed;
    }

    // The month's usage logs of one piece of equipment, as its operators
    // enter them: mostly hours (or miles) on jobs, now and then a rental to
    // others, a few hours of maintenance charged to the equipment's own cost
    // category and, from the service trucks, field lubrication charged to the
    // equipment they serve.
    void enterLogs(const EquipmentPlan &e, const QString &id, const QDate &month, quint16 batchId)
    {
        const bool miles = e.kind == Kind::Pickup;
        const bool servicing = servicesOthers(id);
        const Decimal rate = miles ? cents(65) : Decimal(e.internalRate);
        const Decimal rentalRate = (rate * Decimal::fromUnits(130, 2)).stored(15, 2);
        const int logs = between(4, 8);
        for (int i = 0; i < logs; ++i) {
            EQLogB log;
            log.BatchID = batchId;
            log.EquipmentID = id;
            log.Date = day(month.addDays(between(0, month.daysInMonth() - 1)));
            log.EmployeeID = Employees[between(0, 7)].id;
            log.Location = u"YARD"_s;
            log.ChargeType = u"I"_s;
            Decimal units = miles ? Decimal(between(60, 520)) : cents(between(8, 90) * 50);
            if (servicing && chance(35)) {
                const EquipmentPlan *served = nullptr;
                while (!served || !served->active || served == &e)
                    served = &Fleet[between(0, std::size(Fleet) - 1)];
                log.DetailType = u"Equipment"_s;
                log.EquipmentIDCharged = QString::fromUtf16(served->id);
                chargeCategory(log, u"OIL"_s);
                log.Comments = Text::left(QString::fromUtf16(served->description), 20);
                units = cents(between(2, 16) * 25);
            } else if (chance(12)) {
                log.ChargeType = u"R"_s;
                log.DetailType = u"G/L Account"_s;
                log.GLAccount = u"1100"_s;
                log.Comments = u"Rental to others"_s;
            } else if (!miles && chance(4)) {
                log.DetailType = u"Maintenance"_s;
                const QStringList own = categoriesOf(e.kind);
                chargeCategory(log, own.contains(u"PM"_s) ? u"PM"_s : u"REPAIRS"_s);
                units = cents(between(2, 16) * 25);
            } else {
                log.DetailType = u"Job"_s;
                log.JobID = QString::fromUtf16(Jobs[between(0, 4)].id);
                log.CostCode = QString::fromUtf16(CostCodes[between(0, 5)].code) + u"E"_s;
                log.GLAccount = u"5000"_s;
            }
            log.Units = units;
            log.StartMeter = m_meters[id];
            log.EndMeter = log.StartMeter + units;
            m_meters[id] = log.EndMeter;
            log.GrossAmount = (units * (log.ChargeType == u"R" ? rentalRate : rate)).stored(11, 2);
            log.AdjustedAmount = log.GrossAmount;
            put(log);
        }
    }

    // A log charged to an equipment cost category takes the category's
    // account, and its description when it has no comment, as the entry form
    // fills them in.
    void chargeCategory(EQLogB &log, const QString &category)
    {
        const EQCode &code = m_categories.at(category);
        log.Category = category;
        log.GLAccount = code.DefaultExpenseControl;
        if (log.Comments.isEmpty())
            log.Comments = Text::left(code.Description, 20);
    }

    // The posting run as started on the last day of the month. The batch it
    // empties is deleted, as the bookkeeper does, so that the usage-log
    // window shows only the batches still at work.
    void post(data::Session &session, EQBatch &batch, const QDate &month)
    {
        const FixedClock clock(QDateTime(month.addMonths(1).addDays(-1), QTime(17, 0)));
        const suite::PostingOutcome outcome = suite::postUsageLogs(session, {batch.BatchID}, clock);
        if (!outcome.posted)
            throw data::DataError((u"posting the usage logs of "_s + month.toString(u"MM/yyyy"_s) +
                                   u": "_s + outcome.error)
                                      .toStdString());
        m_summary.postedLogs += outcome.logs;
        check(m_company.file<EQBatch>().remove(batch), u"EQBatch"_s);
    }

    void billCategory(const EquipmentPlan &e, const QString &id, const QString &category,
                      const QDate &month, int periodIndex, int invoiceNo)
    {
        Decimal quantity;
        Decimal amount;
        const int value = e.purchaseValue;
        if (category == u"FUEL") {
            quantity = Decimal(e.kind == Kind::Compressor || e.kind == Kind::Generator
                                   ? between(40, 160)
                                   : between(120, 900));
            amount = (quantity * cents(between(385, 465))).stored(15, 2);
        } else if (category == u"INSURANCE") {
            // A premium of 1.2% of the purchase value a year, billed monthly.
            quantity = Decimal(1);
            amount = (Decimal(value) / Decimal(1000)).stored(15, 2);
        } else if (category == u"LICENSE" || category == u"INSPECT") {
            if (month.month() != (e.year % 12) + 1)
                return;
            quantity = Decimal(1);
            amount = cents(between(180, 1450) * 100);
        } else {
            const int odds = category == u"REPAIRS" ? 30
                             : category == u"TIRES" ? 7
                             : category == u"OIL"   ? 45
                                                    : 25;
            if (!chance(odds))
                return;
            quantity = Decimal(category == u"OIL" ? between(8, 40) : between(1, 4));
            amount = cents(between(category == u"TIRES" ? 60000 : 9000,
                                   category == u"REPAIRS" ? 420000 : 150000));
        }
        const EQCode &code = m_categories.at(category);
        const QDate date = month.addDays(between(0, month.daysInMonth() - 1));
        // Every third repair is the shop's own mechanic's work, through
        // payroll; the rest are vendor bills through accounts payable.
        if (category == u"REPAIRS" && invoiceNo % 3 == 0) {
            const Person &mechanic = Employees[invoiceNo % std::size(Employees)];
            GLTrans labor = transaction(u"P/R"_s, invoiceNo, periodIndex, date,
                                        code.DefaultExpenseControl, amount, false);
            labor.SubsidiaryCode = padded(id) + category;
            labor.EquipmentID = id;
            labor.SubsidiaryQuantity = quantity;
            labor.EmployeeID = mechanic.id;
            labor.Description = u"Shop labor - "_s + id;
            put(labor);
            GLTrans wages =
                transaction(u"P/R"_s, invoiceNo, periodIndex, date, u"2100"_s, amount, true);
            wages.EmployeeID = mechanic.id;
            wages.Description = labor.Description;
            put(wages);
            addCategoryTotal(id, category, periodIndex, quantity, amount);
            return;
        }
        GLTrans cost = transaction(u"A/P"_s, invoiceNo, periodIndex, date,
                                   code.DefaultExpenseControl, amount, false);
        cost.SubsidiaryCode = padded(id) + category;
        cost.EquipmentID = id;
        cost.SubsidiaryQuantity = quantity;
        cost.VendorID = u"V"_s + QString::number(100 + between(1, 9));
        cost.APInvoiceID = invoiceNo;
        cost.Description = code.Description + u" - "_s + id;
        put(cost);
        GLTrans payable =
            transaction(u"A/P"_s, invoiceNo, periodIndex, date, u"2000"_s, amount, true);
        payable.VendorID = cost.VendorID;
        payable.APInvoiceID = invoiceNo;
        payable.Description = cost.Description;
        put(payable);
        // The vendor's bill; some come without a number.
        APInvoice invoice;
        invoice.InvoiceID = invoiceNo;
        invoice.VendorID = cost.VendorID;
        if (invoiceNo % 9 != 0)
            invoice.InvoiceNumber = u"INV-"_s + QString::number(invoiceNo);
        put(invoice);
        addCategoryTotal(id, category, periodIndex, quantity, amount);

        // A quarter of the repairs are damage a customer caused while renting:
        // a fifth of the bill is billed back, a credit to the category.
        if (category == u"REPAIRS" && invoiceNo % 4 == 0) {
            const Decimal recovered = (amount / Decimal(5)).stored(15, 2);
            ARBilling billing;
            billing.CustomerID = u"C"_s + QString::number(100 + invoiceNo % 4);
            if (invoiceNo % 3 != 1)
                billing.BillingNumber = u"B-"_s + QString::number(invoiceNo);
            put(billing);
            GLTrans credit = transaction(u"A/R"_s, billing.BillingID, periodIndex, date,
                                         code.DefaultExpenseControl, recovered, true);
            credit.SubsidiaryCode = padded(id) + category;
            credit.EquipmentID = id;
            credit.CustomerID = billing.CustomerID;
            credit.ARInvoiceID = billing.BillingID;
            credit.Description = u"Damage billed back - "_s + id;
            put(credit);
            GLTrans receivable = transaction(u"A/R"_s, billing.BillingID, periodIndex, date,
                                             u"1100"_s, recovered, false);
            receivable.CustomerID = billing.CustomerID;
            receivable.ARInvoiceID = billing.BillingID;
            receivable.Description = credit.Description;
            put(receivable);
            addCategoryTotal(id, category, periodIndex, Decimal(), -recovered);
        }
    }

    void addCategoryTotal(const QString &id, const QString &category, int periodIndex,
                          const Decimal &quantity, const Decimal &amount)
    {
        Money &total = m_categoryTotals[{id, category}][periodIndex];
        total.units += quantity;
        total.amount += amount;
    }

    int periodOf(const QDate &month) const
    {
        for (int i = 0; i < m_periods.size(); ++i)
            if (m_periods[i].start == month)
                return i;
        throw data::DataError("no fiscal period for a demonstration month");
    }

    static Money sum(const std::map<int, Money> &byPeriod, const std::function<bool(int)> &which)
    {
        Money total;
        for (const auto &[period, money] : byPeriod)
            if (which(period)) {
                total.units += money.units;
                total.amount += money.amount;
            }
        return total;
    }

    // The fleet and its cost categories, before any log is posted: posting
    // adds to their totals.
    void equipment()
    {
        int userDefined = 0;
        for (const EquipmentPlan &e : Fleet) {
            EQHeader eq;
            eq.EquipmentID = QString::fromUtf16(e.id);
            eq.Description = QString::fromUtf16(e.description);
            eq.ClassCode = QString::fromUtf16(e.classCode);
            eq.Make = QString::fromUtf16(e.make);
            eq.Model = QString::fromUtf16(e.model);
            eq.Year = static_cast<qint16>(e.year);
            eq.PhysicalDescription =
                QStringLiteral("%1 %2 %3, %4").arg(e.year).arg(eq.Make, eq.Model, eq.Description);
            const bool miles = e.kind == Kind::Pickup;
            eq.UsageUnit = miles ? u"Miles"_s : u"Hours"_s;
            eq.BillingUnit = miles ? u"Miles"_s : u"Hours"_s;
            eq.VehicleLicense = (e.kind == Kind::Truck || miles)
                                    ? QStringLiteral("TX%1").arg(between(10000, 99999))
                                    : QString();
            eq.LicenseCode = e.kind == Kind::Truck ? u"CDL"_s : miles ? u"COM"_s : u"EXM"_s;
            eq.VIN = QStringLiteral("%1%2")
                         .arg(eq.Make.left(3).toUpper())
                         .arg(between(10000000, 99999999));
            eq.Active = e.active ? 1 : 0;
            eq.Location = e.active ? u"YARD"_s : u"SOLD"_s;
            const QDate purchased =
                QDate(m_today.year(), m_today.month(), 15).addMonths(-e.purchasedMonthsAgo);
            eq.PurchaseDate = day(purchased);
            eq.PurchaseValue = Decimal(e.purchaseValue);
            eq.SalvageValue = Decimal(e.salvageValue);
            eq.DepreciationYears = static_cast<quint16>(e.months);
            eq.DepreciationMethod = static_cast<quint8>(e.method);
            if (e.method == 4)
                eq.UD1DepreciationDesc = u"Accelerated 7-Year"_s;
            if (!e.active) {
                eq.SaleDate = day(
                    QDate(m_firstMonth.year(), m_firstMonth.month(), 1).addMonths(-between(2, 10)));
                eq.SaleValue = Decimal(e.salvageValue + between(1, 8) * 500);
            }
            eq.DestinationType = u"G/L Account"_s;
            eq.DestinationAccount = u"6150"_s;
            eq.AssetAccount = (e.kind == Kind::Truck || miles) ? u"1510"_s : u"1500"_s;
            eq.CertifiedID = miles ? QString() : (e.kind == Kind::Truck ? u"TEAM"_s : u"OPENG"_s);
            eq.InternalBillingRate = miles ? cents(65) : Decimal(e.internalRate);
            eq.RentalBillingRate =
                (eq.InternalBillingRate * Decimal::fromUnits(130, 2)).stored(15, 2);
            eq.InternalIncomeControl = u"4500"_s;
            eq.RentalIncomeControl = u"4510"_s;
            eq.OperatorEmployeeID = e.active ? Employees[userDefined % 8].id : 0;
            eq.UD1 = QStringLiteral("POL-%1").arg(between(100000, 999999));
            eq.UD2 = e.active ? QStringLiteral("FC-%1").arg(between(1000, 9999)) : QString();
            eq.UD5 = QStringLiteral("K%1").arg(++userDefined, 3, 10, QChar(u'0'));
            bool numeric = false;
            const qlonglong number = eq.EquipmentID.toLongLong(&numeric);
            eq.EquipmentSortID =
                numeric ? QStringLiteral("%1").arg(number, 10, 10, QChar(u'0')) : eq.EquipmentID;

            put(eq);
            ++m_summary.equipment;
            schedule(eq);
            costCategories(e, eq.EquipmentID);
            if (e.kind == Kind::Excavator && e.active) {
                Notes note;
                note.EntityID = eq.EquipmentID;
                note.EntityType = u"EQHeader"_s;
                note.Date = day(m_lastMonth.addDays(between(0, 20)));
                note.Heading = u"Track inspection"_s;
                note.Note =
                    u"Undercarriage measured at 55% wear; plan track replacement next season."_s;
                note.UserID = u"EQM"_s;
                put(note);
            }
        }
    }

    // The schedule the equipment form would calculate, so that the fixed-asset
    // reports and graphs have figures from the first start. The company's
    // transaction is already open, so the calculator writes inside it.
    void schedule(const EQHeader &equipment)
    {
        ScheduleCalculator calculator(m_company, m_failures);
        const ScheduleCalculator::Result result = calculator.calculate(equipment);
        m_summary.scheduleRows += result.rowsInserted;
    }

    void costCategories(const EquipmentPlan &e, const QString &id)
    {
        for (const QString &category : categoriesOf(e.kind)) {
            const EQCode &code = m_categories.at(category);
            EQCost cost;
            cost.RecordID = padded(id) + category;
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
            put(cost);
        }
    }

    // What the history leaves beside posting's totals: the meters and average
    // use of the equipment, and the vendor bills and last services of its
    // cost categories. The year and month figures are those of the last
    // month, as its period close left them.
    void settle()
    {
        const int lastPeriod = periodOf(m_lastMonth);
        const int currentYear = m_lastMonth.year();
        const auto thisYear = [&](int p) { return m_periods[p].start.year() == currentYear; };
        const auto thisMonth = [&](int p) { return p == lastPeriod; };
        for (const EquipmentPlan &e : Fleet) {
            EQHeader key;
            key.EquipmentID = QString::fromUtf16(e.id);
            EQHeader eq = fetched(key, u"KeyEquipmentID");
            eq.CurrentMeter = m_meters[eq.EquipmentID].rounded(0);
            // Working days of the 18 months, about 21 a month.
            eq.UnitsPerDay = (eq.CumulativeUnits / Decimal(18 * 21)).stored(15, 2);
            save(eq);
            for (const QString &category : categoriesOf(e.kind))
                billedCategory(eq.EquipmentID, category, thisYear, thisMonth);
        }
    }

    // The bills add to what posting charged the category, in its totals and
    // in its prior-period records.
    void billedCategory(const QString &id, const QString &category,
                        const std::function<bool(int)> &thisYear,
                        const std::function<bool(int)> &thisMonth)
    {
        const std::map<int, Money> &byPeriod = m_categoryTotals[{id, category}];
        EQCost key;
        key.RecordID = padded(id) + category;
        EQCost cost = fetched(key, u"KeyRecordID");
        const Money c = sum(byPeriod, [](int) { return true; });
        const Money y = sum(byPeriod, thisYear), m = sum(byPeriod, thisMonth);
        cost.CumulativeUnitUsed += c.units;
        cost.CumulativeAmount += c.amount;
        cost.YearUnitsUsed += y.units;
        cost.YearAmount += y.amount;
        cost.MonthUnitsUsed += m.units;
        cost.MonthAmount += m.amount;
        if (cost.ScheduleType != u"N") {
            cost.LastServiceDate = day(m_lastMonth.addMonths(-between(0, 5)));
            cost.LastServiceMeter = static_cast<qint32>(m_meters[id].unitsAt(0)) -
                                    between(0, cost.Meter > 0 ? cost.Meter : 100);
        }
        save(cost);

        std::map<int, Money> years;
        for (const auto &[p, money] : byPeriod) {
            EQPriorCM month;
            month.EquipmentID = id;
            month.Category = category;
            month.FiscalYear = static_cast<qint16>(m_periods[p].start.year());
            month.Period = static_cast<quint8>(m_periods[p].start.month());
            addPrior(month, u"KeyEquipmentCategoryYearPeriod", money);
            Money &year = years[month.FiscalYear];
            year.units += money.units;
            year.amount += money.amount;
        }
        for (const auto &[fiscalYear, money] : years) {
            EQPriorC year;
            year.EquipmentID = id;
            year.Category = category;
            year.FiscalYear = static_cast<qint16>(fiscalYear);
            addPrior(year, u"KeyEquipmentCategoryYear", money);
        }
    }

    // Adds to the prior-period record posting wrote, or writes it.
    template <class R> void addPrior(R record, QStringView key, const Money &money)
    {
        R stored = record;
        const data::FileStatus found = m_company.file<R>().fetch(key, stored);
        if (found) {
            stored.Units += money.units;
            stored.Amount += money.amount;
            save(stored);
            return;
        }
        if (found.error().code != data::FileErrorCode::RecordNotFound)
            check(found, R::fileSchema().name);
        record.Units = money.units;
        record.Amount = money.amount;
        put(record);
    }

    void unpostedBatches()
    {
        const QDate thisMonth(m_today.year(), m_today.month(), 1);
        const struct
        {
            const char16_t *description, *user;
            quint8 secure, repeating;
            int logs;
        } batches[] = {{u"Field Logs - This Week", u"EQM", 0, 0, 6},
                       {u"Shop Repairs", u"ADM", 1, 0, 2},
                       {u"Monthly Standby Charges", u"EQM", 0, 1, 3}};
        for (const auto &b : batches) {
            EQBatch batch;
            batch.UserID = QString::fromUtf16(b.user);
            batch.Description = QString::fromUtf16(b.description);
            batch.Secure = b.secure;
            batch.Repeating = b.repeating;
            batch.FrequencyType =
                qToUnderlying(b.repeating ? BatchFrequency::Months : BatchFrequency::Days);
            batch.Frequency2 = b.repeating;
            check(UsageLogBatches::insertBatch(m_company, batch), u"EQBatch"_s);
            for (int i = 0; i < b.logs; ++i) {
                const EquipmentPlan &e = Fleet[between(0, 6)];
                EQLogB log;
                log.BatchID = batch.BatchID;
                log.EquipmentID = QString::fromUtf16(e.id);
                log.Date = day(thisMonth.addDays(between(0, std::max(0, m_today.day() - 1))));
                log.Units = cents(between(8, 80) * 50);
                log.StartMeter = m_meters[log.EquipmentID];
                log.EndMeter = log.StartMeter + log.Units;
                m_meters[log.EquipmentID] = log.EndMeter;
                log.ChargeType = u"I"_s;
                log.GrossAmount = (log.Units * Decimal(e.internalRate)).stored(11, 2);
                log.AdjustedAmount = log.GrossAmount;
                log.DetailType = u"Job"_s;
                log.JobID = QString::fromUtf16(Jobs[between(0, 4)].id);
                log.CostCode = QString::fromUtf16(CostCodes[between(0, 5)].code) + u"E"_s;
                log.GLAccount = u"5000"_s;
                log.EmployeeID = Employees[between(0, 7)].id;
                log.Location = u"YARD"_s;
                put(log);
            }
        }
    }

    void reportDefinitions()
    {
        // Every family has two or more; one of each locked by its owner EQM.
        const struct
        {
            const char16_t *report, *title, *type, *format, *summary, *orientation, *owner;
            quint8 locked;
        } definitions[] = {
            {u"Analysis", u"Monthly Usage / Cost Analysis", u"A", u"", u"I", u"L", u"ADM", 0},
            {u"Analysis", u"Cost Summary - All Equipment", u"S", u"", u"I", u"P", u"ADM", 0},
            {u"Analysis", u"Maintenance Schedule", u"M", u"", u"I", u"P", u"EQM", 1},
            {u"Detail", u"Equipment Detail - Current Year", u"", u"0", u"I", u"L", u"ADM", 0},
            {u"Detail", u"Fuel Costs of the Trucks", u"", u"1", u"D", u"L", u"EQM", 1},
            {u"Equipment List", u"Equipment Master List", u"", u"M", u"I", u"P", u"ADM", 0},
            {u"Equipment List", u"Equipment Data Sheets", u"", u"D", u"I", u"P", u"EQM", 1},
            {u"Category List", u"Cost Categories", u"", u"C", u"S", u"P", u"ADM", 0},
            {u"Category List", u"Cost Categories with Accounts", u"", u"D", u"D", u"P", u"EQM", 1},
            {u"Log Proof Listing", u"All Tagged Batches", u"", u"", u"", u"P", u"ADM", 0},
            {u"Log Proof Listing", u"Trucks This Month", u"", u"", u"", u"P", u"EQM", 1},
        };
        for (const auto &d : definitions) {
            EQLimits limits;
            limits.UserID = QString::fromUtf16(d.owner);
            limits.Locked = d.locked;
            limits.Report = QString::fromUtf16(d.report);
            limits.ReportTitle = QString::fromUtf16(d.title);
            limits.ReportType = QString::fromUtf16(d.type);
            limits.ReportFormat = QString::fromUtf16(d.format);
            limits.DetailSummary = QString::fromUtf16(d.summary);
            limits.Orientation = QString::fromUtf16(d.orientation);
            limits.ModifyDate = day(m_today);
            limits.QuantityAnalysis = u"D"_s;
            if (limits.Report == u"Detail") {
                limits.SelectedDates = 1;
                limits.DateFrom = day(QDate(m_lastMonth.year(), 1, 1));
                limits.DateTo = day(m_lastMonth.addMonths(1).addDays(-1));
                limits.PrintTransactionDetail = 1;
                limits.ColorCoding = 1;
            } else if (limits.Report == u"Analysis") {
                limits.SelectedDates = 2;
                limits.FPTo = Decimal(m_periods[periodOf(m_lastMonth)].number);
            }
            const bool trucks = limits.ReportTitle.contains(u"Trucks"_s);
            if (trucks && limits.Report == u"Log Proof Listing") {
                limits.SelectedEquipment = 1;
                limits.EquipmentFrom = u"TRK-101"_s;
                limits.EquipmentTo = u"TRK-199"_s;
                limits.SelectedDates = 1;
                limits.DateFrom = day(QDate(m_today.year(), m_today.month(), 1));
                limits.DateTo = day(m_today);
            } else if (trucks) {
                limits.SelectedEquipment = 2;
                limits.SelectedCategory = 2;
            }
            put(limits);
            if (limits.ReportType == u"A") {
                MemLimit favourite;
                favourite.LimitID = static_cast<qint32>(limits.LimitID);
                favourite.UserID = u"ADM"_s;
                favourite.FileName = u"EQLimits"_s;
                favourite.ReportName = u"E/Q Analysis Report"_s;
                favourite.Title = limits.ReportTitle;
                put(favourite);
            }
            if (trucks && limits.SelectedEquipment == 2) {
                const QString members[][2] = {{u"Equipment"_s, u"TRK-101"_s},
                                              {u"Equipment"_s, u"TRK-102"_s},
                                              {u"Equipment"_s, u"TRK-103"_s},
                                              {u"Category"_s, u"FUEL"_s}};
                for (const auto &[kind, value] : members) {
                    LimList entry;
                    entry.FileName = u"EQLimits"_s;
                    entry.LimitID = static_cast<qint32>(limits.LimitID);
                    entry.Kind = kind;
                    entry.Value = value;
                    put(entry);
                }
            }
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

    data::Company &m_company;
    FailurePrompter m_failures;
    std::mt19937 m_random;
    QDate m_today;
    QDate m_firstMonth;
    QDate m_lastMonth;
    QList<Period> m_periods;
    std::map<QString, EQCode> m_categories;
    std::map<QString, Decimal> m_meters;
    std::map<std::pair<QString, QString>, std::map<int, Money>> m_categoryTotals;
    int m_lineNo = 0;
    DemoCompany::Summary m_summary;
};

} // namespace

DemoCompany::DemoCompany(data::Company &company, const Clock &clock)
    : m_company(company)
    , m_clock(clock)
{}

DemoCompany::Summary DemoCompany::build()
{
    QStringList tables;
    for (const data::FileSchema *schema : m_company.catalog().files())
        if (!schema->isAlias())
            tables.append(schema->table);
    data::Transaction transaction(m_company.database(), tables, std::chrono::seconds(5));
    if (!transaction.isActive())
        throw data::DataError(
            (u"the company is in use: "_s + transaction.error().text()).toStdString());
    const Summary summary = Builder(m_company, m_clock.today()).build();
    if (data::FileStatus status = transaction.commit(); !status)
        throw data::DataError(status.error().text().toStdString());
    return summary;
}

} // namespace qaveq

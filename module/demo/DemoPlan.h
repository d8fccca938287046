#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <span>

// The plan of the demonstration company, as tables: what it owns, whom it
// deals with and how its months go. The builders in this folder write the
// company from these rows; a change of the demonstration is a change of a row.

namespace qaveq::demo {

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

// The cost categories of each kind of equipment.
inline constexpr const char16_t *TruckCategories[] = {
    u"FUEL", u"REPAIRS", u"TIRES", u"INSURANCE", u"LICENSE", u"OIL", u"PM", u"INSPECT"};
inline constexpr const char16_t *PickupCategories[] = {u"FUEL",      u"REPAIRS", u"TIRES",
                                                       u"INSURANCE", u"LICENSE", u"OIL"};
inline constexpr const char16_t *WheelLoaderCategories[] = {
    u"FUEL", u"REPAIRS", u"TIRES", u"INSURANCE", u"OIL", u"PM", u"PARTS"};
inline constexpr const char16_t *EarthMoverCategories[] = {
    u"FUEL", u"REPAIRS", u"INSURANCE", u"OIL", u"PM", u"PARTS", u"HAULING"};
inline constexpr const char16_t *SmallEngineCategories[] = {u"FUEL", u"REPAIRS", u"OIL", u"PM"};

// What a kind of equipment has: its cost categories and the gallons of fuel a
// month's bill holds.
struct KindPlan
{
    Kind kind;
    std::span<const char16_t *const> categories;
    int fuelLow;
    int fuelHigh;
};

inline constexpr KindPlan Kinds[] = {
    {Kind::Truck, TruckCategories, 120, 900},
    {Kind::Pickup, PickupCategories, 120, 900},
    {Kind::WheelLoader, WheelLoaderCategories, 120, 900},
    {Kind::Loader, EarthMoverCategories, 120, 900},
    {Kind::Excavator, EarthMoverCategories, 120, 900},
    {Kind::Dozer, EarthMoverCategories, 120, 900},
    {Kind::Roller, EarthMoverCategories, 120, 900},
    {Kind::Compressor, SmallEngineCategories, 40, 160},
    {Kind::Generator, SmallEngineCategories, 40, 160},
};

const KindPlan &planOf(Kind kind);
QStringList categoriesOf(Kind kind);

struct EquipmentPlan
{
    const char16_t *id, *description, *classCode, *make, *model;
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

inline constexpr EquipmentPlan Fleet[] = {
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
inline constexpr const char16_t *ServiceTrucks[] = {u"TRK-106", u"TRK-107"};

// How the vendors bill a cost category.
enum class Billing {
    Never,      // not billed in the demonstration
    Metered,    // every month, by the kind's gallons at a price per gallon
    Premium,    // every month, a tenth of a percent of the purchase value
    Yearly,     // once a year, in the month after the model year's (year % 12)
    Occasional, // in `odds` percent of the months
};

struct CategoryPlan
{
    const char16_t *id, *description, *unit, *account;
    const char16_t *scheduleType; // N, M, E or B
    const char16_t *meterName;
    int meter;
    const char16_t *intervalName;
    int interval;
    Billing billing;
    int odds;                      // Occasional: percent of the months with a bill
    int quantityLow, quantityHigh; // Occasional
    int amountLow, amountHigh;     // in steps of amountStep cents; Metered: the price per unit
    int amountStep;
};

inline constexpr CategoryPlan Categories[] = {
    {u"FUEL", u"Fuel", u"Gal", u"6100", u"N", u"", 0, u"", 0, Billing::Metered, 100, 0, 0, 385, 465,
     1},
    {u"REPAIRS", u"Repairs", u"Each", u"6110", u"N", u"", 0, u"", 0, Billing::Occasional, 30, 1, 4,
     9000, 420000, 1},
    {u"TIRES", u"Tires", u"Each", u"6120", u"N", u"", 0, u"", 0, Billing::Occasional, 7, 1, 4,
     60000, 150000, 1},
    {u"INSURANCE", u"Insurance", u"Mo", u"6130", u"N", u"", 0, u"", 0, Billing::Premium, 100, 0, 0,
     0, 0, 1},
    {u"LICENSE", u"Licenses and Permits", u"Each", u"6140", u"E", u"", 0, u"Months", 12,
     Billing::Yearly, 100, 0, 0, 180, 1450, 100},
    {u"OIL", u"Oil Change and Lubrication", u"Qts", u"6170", u"M", u"Hours", 250, u"", 0,
     Billing::Occasional, 45, 8, 40, 9000, 150000, 1},
    {u"PM", u"Preventive Maintenance", u"Each", u"6160", u"B", u"Hours", 500, u"Months", 6,
     Billing::Occasional, 25, 1, 4, 9000, 150000, 1},
    {u"INSPECT", u"Annual Safety Inspection", u"Each", u"6160", u"E", u"", 0, u"Months", 12,
     Billing::Yearly, 100, 0, 0, 180, 1450, 100},
    {u"PARTS", u"Parts", u"Each", u"6180", u"N", u"", 0, u"", 0, Billing::Occasional, 25, 1, 4,
     9000, 150000, 1},
    {u"HAULING", u"Hauling and Transport", u"Load", u"6190", u"N", u"", 0, u"", 0,
     Billing::Occasional, 25, 1, 4, 9000, 150000, 1},
    {u"SHOPLABOR", u"Shop Labor", u"Hrs", u"6200", u"N", u"", 0, u"", 0, Billing::Never, 0, 0, 0, 0,
     0, 1},
    {u"STORAGE", u"Yard Storage", u"Mo", u"6210", u"N", u"", 0, u"", 0, Billing::Never, 0, 0, 0, 0,
     0, 1},
};

const CategoryPlan &categoryPlan(const QString &id);

struct AccountPlan
{
    const char16_t *account, *description, *type;
};

inline constexpr AccountPlan Accounts[] = {
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
    const char16_t *id, *name;
    bool active;
};

inline constexpr JobPlan Jobs[] = {
    {u"2401", u"Riverside Bridge Rehabilitation", true},
    {u"2402", u"Oak Street Reconstruction", true},
    {u"2403", u"Mill Creek Culvert Replacement", true},
    {u"2501", u"County Road 12 Overlay", true},
    {u"2502", u"Hillcrest Subdivision Phase 2", true},
    {u"2301", u"Airport Apron Expansion", false},
};

// The job with a note for whoever charges it.
inline constexpr const char16_t *NotedJob = u"2402";
inline constexpr const char16_t *NotedJobText = u"Lane closures only between 9 AM and 3 PM.";

struct CodePlan
{
    const char16_t *code, *description;
};

inline constexpr CodePlan CostCodes[] = {
    {u"020100", u"Site Clearing"}, {u"020200", u"Excavation"},    {u"020300", u"Grading"},
    {u"020400", u"Hauling"},       {u"030100", u"Concrete Work"}, {u"320100", u"Asphalt Paving"},
};

inline constexpr const char16_t *CostTypes[] = {u"L", u"M", u"S", u"E", u"G", u"B"};
// The one cost code of every job that takes no more charges.
inline constexpr const char16_t *InactiveCostCode = u"030100G";

struct ChangeOrderPlan
{
    const char16_t *job, *changeOrder, *description, *costCode;
    int amount; // cents
};

inline constexpr ChangeOrderPlan ChangeOrders[] = {
    {u"2401", u"CO-001", u"Additional Pier Repair", u"030100E", 4850000},
    {u"2401", u"CO-002", u"Extended Detour Grading", u"020300E", 1275000},
    {u"2402", u"CO-001", u"Storm Drain Relocation", u"020200E", 2210000}};

struct Person
{
    int id;
    const char16_t *first, *last;
};

inline constexpr Person Employees[] = {
    {101, u"Dale", u"Ortiz"},   {102, u"Marcy", u"Keane"},     {103, u"Tomas", u"Reyes"},
    {104, u"Lena", u"Fogarty"}, {105, u"Victor", u"Hale"},     {106, u"Ruth", u"Ambrose"},
    {107, u"Sam", u"Whitlock"}, {108, u"Nina", u"Castellano"},
};

// The vendors (V101...) and customers (C100...) the ledger's bills and billings name.
inline constexpr const char16_t *Vendors[] = {
    u"Ridgeline Fuel & Lube",   u"Summit Tire Center",        u"Crossroads Diesel Repair",
    u"Valley Insurance Agency", u"State Motor Vehicles",      u"Ironworks Parts Supply",
    u"Blue Ribbon Inspections", u"Hartley Hydraulic Service", u"Prairie Oil Company"};
inline constexpr const char16_t *Customers[] = {u"Granite Ridge Builders", u"City of Maple Falls",
                                                u"Northside Paving", u"Lakeshore Excavating"};

struct CertificationPlan
{
    const char16_t *id, *description;
};

inline constexpr CertificationPlan Certifications[] = {{u"OPENG", u"Operating Engineer"},
                                                       {u"TEAM", u"Teamster Driver"},
                                                       {u"LABOR", u"Construction Laborer"}};

struct UserPlan
{
    const char16_t *id, *first, *last;
    bool readOnly;
};

inline constexpr UserPlan Users[] = {{u"ADM", u"System", u"Administrator", false},
                                     {u"EQM", u"Pat", u"Delgado", false},
                                     {u"VEW", u"Office", u"Viewer", true}};

// The drop lists of the equipment form.
struct DropListPlan
{
    const char16_t *field;
    std::initializer_list<const char16_t *> values;
};

inline const DropListPlan DropLists[] = {
    {u"EQH Class Code",
     {u"TRUCK", u"LOADER", u"EXCAVATOR", u"COMPRESSOR", u"DOZER", u"ROLLER", u"GENERATOR",
      u"PICKUP"}},
    {u"EQH License Code", {u"CDL", u"COM", u"EXM", u"APP"}},
};

// The prompts of the equipment's five user-defined fields.
inline constexpr const char16_t *EquipmentPrompts[] = {u"Insurance Policy", u"Fuel Card",
                                                       u"GPS Unit", u"Tire Size", u"Key Number"};

// The batches still at work in the current month.
struct OpenBatchPlan
{
    const char16_t *description, *user;
    quint8 secure;
    quint8 repeating;
    int logs;
};

inline constexpr OpenBatchPlan OpenBatches[] = {{u"Field Logs - This Week", u"EQM", 0, 0, 6},
                                                {u"Shop Repairs", u"ADM", 1, 0, 2},
                                                {u"Monthly Standby Charges", u"EQM", 0, 1, 3}};

// Every report family has two or more definitions; one of each locked by its owner EQM.
struct DefinitionPlan
{
    const char16_t *report, *title, *type, *format, *summary, *orientation, *owner;
    quint8 locked;
};

inline constexpr DefinitionPlan Definitions[] = {
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

// The list members of the definitions that name the trucks by list.
struct ListMemberPlan
{
    const char16_t *kind, *value;
};

inline constexpr ListMemberPlan TruckListMembers[] = {{u"Equipment", u"TRK-101"},
                                                      {u"Equipment", u"TRK-102"},
                                                      {u"Equipment", u"TRK-103"},
                                                      {u"Category", u"FUEL"}};

} // namespace qaveq::demo

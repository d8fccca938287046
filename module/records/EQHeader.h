#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// The fields of a piece of equipment, shared by the file's two views.
struct EQHeaderFields
{
    qint32 RecordID = 0;
    QString EquipmentID;         // 10, required, unique
    QString Description;         // 40, required
    QString PhysicalDescription; // 100
    QString VehicleLicense;      // 10
    QString ClassCode;           // 10, from drop-down list "EQH Class Code"
    QString LicenseCode;         // 5, from drop-down list "EQH License Code"
    QString VIN;                 // 30
    QString Make;                // 20
    QString Model;               // 20
    qint16 Year = 0;
    QString UsageUnit;   // 5
    QString BillingUnit; // 5
    quint8 Active = 1;
    QString Location;     // 10
    Decimal CurrentMeter; // 15.0
    DayNumber PurchaseDate = 0;
    Decimal PurchaseValue; // 15.2
    DayNumber SaleDate = 0;
    Decimal SaleValue;             // 15.2
    Decimal SalvageValue;          // 15.2
    quint16 DepreciationYears = 0; // despite its name: the number of months
    quint8 DepreciationMethod = 1; // 1 straight line, 2 sum of years' digits, 3 declining, 4 custom
    QString UD1DepreciationDesc;   // 20: the custom method's name
    QString DestinationType;       // 11: "None", "G/L Account", "Category" or "Job"
    QString DestinationAccount;    // 12
    QString DestinationCategory;   // 10
    QString DestinationJob;        // 10
    QString DestinationCostCode;   // 14
    QString AssetAccount;          // 12
    QString CertifiedID;           // 8
    Decimal UnitsPerDay;           // 15.2
    Decimal CumulativeInternalUnits, YearInternalUnits, MonthInternalUnits;
    Decimal CumulativeInternalIncome, YearInternalIncome, MonthInternalIncome;
    Decimal InternalBillingRate;
    QString InternalIncomeControl; // 12
    Decimal CumulativeRentalUnits, YearRentalUnits, MonthRentalUnits;
    Decimal CumulativeRentalIncome, YearRentalIncome, MonthRentalIncome;
    Decimal RentalBillingRate;
    QString RentalIncomeControl; // 12
    Decimal CumulativeUnits, YearUnits, MonthUnits;
    Decimal CumulativeNonProductiveUnits, YearNonProductiveUnits, MonthNonProductiveUnits;
    Decimal InternalUnitsThisPosting, InternalThisPosting, RentalUnitsThisPosting,
        RentalThisPosting;
    qint32 LastPostingFiscalPeriod = 0;
    QString UD1, UD2, UD3, UD4, UD5, UD6, UD7, UD8, UD9, UD10, UD11, UD12, UD13, UD14,
        UD15; // 40 each
    quint8 PhotoChange = 0;
    qint32 OperatorEmployeeID = 0;
    quint8 Attachments = 0;
    // The equipment ID as a zero-padded 10-digit number when it is numeric,
    // else the ID itself, so that numeric IDs sort by value.
    QString EquipmentSortID; // 10
};

struct EQHeader : data::RecordOf<EQHeader>, EQHeaderFields
{
    static const data::FileSchema &fileSchema();
};

// A second view of the equipment file with a buffer of its own, so that a
// screen can browse equipment while an EQHeader record is held.
struct EQHeaderAlias : data::RecordOf<EQHeaderAlias>, EQHeaderFields
{
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq

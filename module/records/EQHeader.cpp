#include "EQHeader.h"

#include "data/SchemaBuilder.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

template <class R> data::FileSchema describe(data::SchemaBuilder<R> b)
{
    using F = EQHeaderFields;
    using B = data::SchemaBuilder<R>;
    const auto money = [&b](QString name, Decimal F::*member) {
        b.decimal(std::move(name), member, 15, 2);
    };
    b.autoNumber(u"RecordID"_s, &F::RecordID)
        .text(u"EquipmentID"_s, &F::EquipmentID, 10)
        .required()
        .text(u"Description"_s, &F::Description, 40)
        .required()
        .text(u"PhysicalDescription"_s, &F::PhysicalDescription, 100)
        .text(u"VehicleLicense"_s, &F::VehicleLicense, 10)
        .text(u"ClassCode"_s, &F::ClassCode, 10)
        .text(u"LicenseCode"_s, &F::LicenseCode, 5)
        .text(u"VIN"_s, &F::VIN, 30)
        .text(u"Make"_s, &F::Make, 20)
        .text(u"Model"_s, &F::Model, 20)
        .integer(u"Year"_s, &F::Year)
        .text(u"UsageUnit"_s, &F::UsageUnit, 5)
        .text(u"BillingUnit"_s, &F::BillingUnit, 5)
        .integer(u"Active"_s, &F::Active)
        .text(u"Location"_s, &F::Location, 10)
        .decimal(u"CurrentMeter"_s, &F::CurrentMeter, 15, 0)
        .date(u"PurchaseDate"_s, &F::PurchaseDate);
    money(u"PurchaseValue"_s, &F::PurchaseValue);
    b.date(u"SaleDate"_s, &F::SaleDate);
    money(u"SaleValue"_s, &F::SaleValue);
    money(u"SalvageValue"_s, &F::SalvageValue);
    b.integer(u"DepreciationYears"_s, &F::DepreciationYears)
        .integer(u"DepreciationMethod"_s, &F::DepreciationMethod)
        .text(u"UD1DepreciationDesc"_s, &F::UD1DepreciationDesc, 20)
        .text(u"DestinationType"_s, &F::DestinationType, 11)
        .text(u"DestinationAccount"_s, &F::DestinationAccount, 12)
        .text(u"DestinationCategory"_s, &F::DestinationCategory, 10)
        .text(u"DestinationJob"_s, &F::DestinationJob, 10)
        .text(u"DestinationCostCode"_s, &F::DestinationCostCode, 14)
        .text(u"AssetAccount"_s, &F::AssetAccount, 12)
        .text(u"CertifiedID"_s, &F::CertifiedID, 8);
    money(u"UnitsPerDay"_s, &F::UnitsPerDay);
    money(u"CumulativeInternalUnits"_s, &F::CumulativeInternalUnits);
    money(u"YearInternalUnits"_s, &F::YearInternalUnits);
    money(u"MonthInternalUnits"_s, &F::MonthInternalUnits);
    money(u"CumulativeInternalIncome"_s, &F::CumulativeInternalIncome);
    money(u"YearInternalIncome"_s, &F::YearInternalIncome);
    money(u"MonthInternalIncome"_s, &F::MonthInternalIncome);
    money(u"InternalBillingRate"_s, &F::InternalBillingRate);
    b.text(u"InternalIncomeControl"_s, &F::InternalIncomeControl, 12);
    money(u"CumulativeRentalUnits"_s, &F::CumulativeRentalUnits);
    money(u"YearRentalUnits"_s, &F::YearRentalUnits);
    money(u"MonthRentalUnits"_s, &F::MonthRentalUnits);
    money(u"CumulativeRentalIncome"_s, &F::CumulativeRentalIncome);
    money(u"YearRentalIncome"_s, &F::YearRentalIncome);
    money(u"MonthRentalIncome"_s, &F::MonthRentalIncome);
    money(u"RentalBillingRate"_s, &F::RentalBillingRate);
    b.text(u"RentalIncomeControl"_s, &F::RentalIncomeControl, 12);
    money(u"CumulativeUnits"_s, &F::CumulativeUnits);
    money(u"YearUnits"_s, &F::YearUnits);
    money(u"MonthUnits"_s, &F::MonthUnits);
    money(u"CumulativeNonProductiveUnits"_s, &F::CumulativeNonProductiveUnits);
    money(u"YearNonProductiveUnits"_s, &F::YearNonProductiveUnits);
    money(u"MonthNonProductiveUnits"_s, &F::MonthNonProductiveUnits);
    money(u"InternalUnitsThisPosting"_s, &F::InternalUnitsThisPosting);
    money(u"InternalThisPosting"_s, &F::InternalThisPosting);
    money(u"RentalUnitsThisPosting"_s, &F::RentalUnitsThisPosting);
    money(u"RentalThisPosting"_s, &F::RentalThisPosting);
    b.integer(u"LastPostingFiscalPeriod"_s, &F::LastPostingFiscalPeriod);
    QString F::*const userDefined[] = {&F::UD1,  &F::UD2,  &F::UD3,  &F::UD4,  &F::UD5,
                                       &F::UD6,  &F::UD7,  &F::UD8,  &F::UD9,  &F::UD10,
                                       &F::UD11, &F::UD12, &F::UD13, &F::UD14, &F::UD15};
    for (int i = 0; i < 15; ++i)
        b.text(u"UD"_s + QString::number(i + 1), userDefined[i], 40);
    b.integer(u"PhotoChange"_s, &F::PhotoChange)
        .integer(u"OperatorEmployeeID"_s, &F::OperatorEmployeeID)
        .integer(u"Attachments"_s, &F::Attachments)
        .text(u"EquipmentSortID"_s, &F::EquipmentSortID, 10)
        .key(u"KeyEquipmentID"_s, B::Unique, {u"EquipmentID"_s})
        .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
        .key(u"KeySortID"_s, B::Duplicates, {u"EquipmentSortID"_s});
    return b.build();
}

} // namespace

const data::FileSchema &EQHeader::fileSchema()
{
    static const data::FileSchema schema =
        describe(data::SchemaBuilder<EQHeader>(u"EQHeader"_s, u"EQH"_s));
    return schema;
}

const data::FileSchema &EQHeaderAlias::fileSchema()
{
    static const data::FileSchema schema = describe(std::move(
        data::SchemaBuilder<EQHeaderAlias>(u"EQHeaderAlias"_s, u"EQH1"_s).aliasOf(u"EQHeader"_s)));
    return schema;
}

} // namespace qaveq

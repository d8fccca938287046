#include "ModuleFiles.h"

#include "EQBatch.h"
#include "EQCode.h"
#include "EQCost.h"
#include "EQHeader.h"
#include "EQLimits.h"
#include "EQLog.h"
#include "EQLogB.h"
#include "GLDepr.h"
#include "Images.h"
#include "Notes.h"
#include "PriorPeriods.h"
#include "UserDef.h"

#include "data/Database.h"
#include "data/SchemaBuilder.h"

using namespace Qt::StringLiterals;

namespace qaveq {

using data::FileSchema;
using data::SchemaBuilder;

const FileSchema &EQCode::fileSchema()
{
    using B = SchemaBuilder<EQCode>;
    static const FileSchema schema =
        B(u"EQCode"_s, u"EQD"_s)
            .autoNumber(u"RecordID"_s, &EQCode::RecordID)
            .text(u"CategoryID"_s, &EQCode::CategoryID, 10)
            .required()
            .text(u"Description"_s, &EQCode::Description, 30)
            .text(u"DefaultUnit"_s, &EQCode::DefaultUnit, 5)
            .text(u"DefaultExpenseControl"_s, &EQCode::DefaultExpenseControl, 12)
            .text(u"DefaultContraExpenseControl"_s, &EQCode::DefaultContraExpenseControl, 12)
            .text(u"ScheduleType"_s, &EQCode::ScheduleType, 1)
            .text(u"MeterName"_s, &EQCode::MeterName, 10)
            .integer(u"Meter"_s, &EQCode::Meter)
            .text(u"IntervalName"_s, &EQCode::IntervalName, 10)
            .integer(u"Interval"_s, &EQCode::Interval)
            .key(u"KeyCategoryID"_s, B::Unique, {u"CategoryID"_s})
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .build();
    return schema;
}

const FileSchema &EQCost::fileSchema()
{
    using B = SchemaBuilder<EQCost>;
    static const FileSchema schema =
        B(u"EQCost"_s, u"EQC"_s)
            .text(u"RecordID"_s, &EQCost::RecordID, 20)
            .autoNumber(u"PrimaryRecordID"_s, &EQCost::PrimaryRecordID)
            .text(u"EquipmentID"_s, &EQCost::EquipmentID, 10)
            .text(u"CostCategory"_s, &EQCost::CostCategory, 10)
            .text(u"UnitName"_s, &EQCost::UnitName, 5)
            .text(u"ControlDebit"_s, &EQCost::ControlDebit, 12)
            .text(u"ControlCredit"_s, &EQCost::ControlCredit, 12)
            .decimal(u"CumulativeUnitUsed"_s, &EQCost::CumulativeUnitUsed, 15, 2)
            .decimal(u"CumulativeAmount"_s, &EQCost::CumulativeAmount, 15, 2)
            .decimal(u"YearUnitsUsed"_s, &EQCost::YearUnitsUsed, 15, 2)
            .decimal(u"YearAmount"_s, &EQCost::YearAmount, 15, 2)
            .decimal(u"MonthUnitsUsed"_s, &EQCost::MonthUnitsUsed, 15, 2)
            .decimal(u"MonthAmount"_s, &EQCost::MonthAmount, 15, 2)
            .decimal(u"TaxAmount"_s, &EQCost::TaxAmount, 15, 2)
            .text(u"ScheduleType"_s, &EQCost::ScheduleType, 1)
            .text(u"MeterName"_s, &EQCost::MeterName, 10)
            .integer(u"Meter"_s, &EQCost::Meter)
            .text(u"IntervalName"_s, &EQCost::IntervalName, 10)
            .integer(u"Interval"_s, &EQCost::Interval)
            .integer(u"LastServiceMeter"_s, &EQCost::LastServiceMeter)
            .date(u"LastServiceDate"_s, &EQCost::LastServiceDate)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyPrimaryRecordID"_s, B::Unique, {u"PrimaryRecordID"_s})
            .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s, u"CostCategory"_s})
            .key(u"KeyCostCategory"_s, B::Duplicates, {u"CostCategory"_s, u"EquipmentID"_s})
            .build();
    return schema;
}

const FileSchema &UserDef::fileSchema()
{
    using B = SchemaBuilder<UserDef>;
    static const FileSchema schema = [] {
        B b(u"UserDef"_s, u"USD"_s);
        b.text(u"FileName"_s, &UserDef::FileName, 12);
        QString UserDef::*const prompts[] = {
            &UserDef::U1,  &UserDef::U2,  &UserDef::U3,  &UserDef::U4,  &UserDef::U5,
            &UserDef::U6,  &UserDef::U7,  &UserDef::U8,  &UserDef::U9,  &UserDef::U10,
            &UserDef::U11, &UserDef::U12, &UserDef::U13, &UserDef::U14, &UserDef::U15};
        for (int i = 0; i < 15; ++i)
            b.text(u"U"_s + QString::number(i + 1), prompts[i], 40);
        b.key(u"KeyFile"_s, B::Unique, {u"FileName"_s});
        return b.build();
    }();
    return schema;
}

const FileSchema &Images::fileSchema()
{
    using B = SchemaBuilder<Images>;
    static const FileSchema schema =
        B(u"Images"_s, u"IMG"_s)
            .autoNumber(u"RecordID"_s, &Images::RecordID)
            .text(u"Type"_s, &Images::Type, 15)
            .text(u"StringID"_s, &Images::StringID, 20)
            .text(u"Caption"_s, &Images::Caption, 50)
            .date(u"FileDate"_s, &Images::FileDate)
            .text(u"ImageType"_s, &Images::ImageType, 10)
            .text(u"FileName"_s, &Images::FileName, 250)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyTypeStringID"_s, B::Duplicates, {u"Type"_s, u"StringID"_s})
            .build();
    return schema;
}

const FileSchema &Notes::fileSchema()
{
    using B = SchemaBuilder<Notes>;
    static const FileSchema schema = B(u"Notes"_s, u"NOTE"_s)
                                         .autoNumber(u"RecordID"_s, &Notes::RecordID)
                                         .text(u"EntityID"_s, &Notes::EntityID, 20)
                                         .text(u"EntityType"_s, &Notes::EntityType, 10)
                                         .date(u"Date"_s, &Notes::Date)
                                         .text(u"Heading"_s, &Notes::Heading, 20)
                                         .text(u"Note"_s, &Notes::Note, 255)
                                         .text(u"UserID"_s, &Notes::UserID, 3)
                                         .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                         .key(u"KeyEntityID"_s, B::Duplicates, {u"EntityID"_s})
                                         .build();
    return schema;
}

namespace {

template <class R> SchemaBuilder<R> &priorFields(SchemaBuilder<R> &b)
{
    using F = EQPriorFields;
    return b.text(u"EquipmentID"_s, &F::EquipmentID, 10)
        .integer(u"FiscalYear"_s, &F::FiscalYear)
        .decimal(u"InternalUnits"_s, &F::InternalUnits, 15, 2)
        .decimal(u"InternalIncome"_s, &F::InternalIncome, 15, 2)
        .decimal(u"RentalUnits"_s, &F::RentalUnits, 15, 2)
        .decimal(u"RentalIncome"_s, &F::RentalIncome, 15, 2)
        .decimal(u"NonProductiveUnits"_s, &F::NonProductiveUnits, 15, 2);
}

template <class R> SchemaBuilder<R> &priorCategoryFields(SchemaBuilder<R> &b)
{
    using F = EQPriorCFields;
    return b.text(u"EquipmentID"_s, &F::EquipmentID, 10)
        .text(u"Category"_s, &F::Category, 10)
        .integer(u"FiscalYear"_s, &F::FiscalYear)
        .decimal(u"Units"_s, &F::Units, 15, 2)
        .decimal(u"Amount"_s, &F::Amount, 15, 2);
}

} // namespace

const FileSchema &EQPrior::fileSchema()
{
    using B = SchemaBuilder<EQPrior>;
    static const FileSchema schema = [] {
        B b(u"EQPrior"_s, u"EQP"_s);
        return priorFields(b)
            .key(u"KeyEquipmentYear"_s, B::Unique, {u"EquipmentID"_s, u"FiscalYear"_s})
            .build();
    }();
    return schema;
}

const FileSchema &EQPriorM::fileSchema()
{
    using B = SchemaBuilder<EQPriorM>;
    static const FileSchema schema = [] {
        B b(u"EQPriorM"_s, u"EQPM"_s);
        return priorFields(b)
            .integer(u"Period"_s, &EQPriorM::Period)
            .key(u"KeyEquipmentYearPeriod"_s, B::Unique,
                 {u"EquipmentID"_s, u"FiscalYear"_s, u"Period"_s})
            .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s})
            .build();
    }();
    return schema;
}

const FileSchema &EQPriorC::fileSchema()
{
    using B = SchemaBuilder<EQPriorC>;
    static const FileSchema schema = [] {
        B b(u"EQPriorC"_s, u"EQPC"_s);
        return priorCategoryFields(b)
            .key(u"KeyEquipmentCategoryYear"_s, B::Unique,
                 {u"EquipmentID"_s, u"Category"_s, u"FiscalYear"_s})
            .build();
    }();
    return schema;
}

const FileSchema &EQPriorCM::fileSchema()
{
    using B = SchemaBuilder<EQPriorCM>;
    static const FileSchema schema = [] {
        B b(u"EQPriorCM"_s, u"EQPCM"_s);
        return priorCategoryFields(b)
            .integer(u"Period"_s, &EQPriorCM::Period)
            .key(u"KeyEquipmentCategoryYearPeriod"_s, B::Unique,
                 {u"EquipmentID"_s, u"Category"_s, u"FiscalYear"_s, u"Period"_s})
            .build();
    }();
    return schema;
}

const FileSchema &GLDepr::fileSchema()
{
    using B = SchemaBuilder<GLDepr>;
    static const FileSchema schema =
        B(u"GLDepr"_s, u"GLDP"_s)
            .autoNumber(u"RecordID"_s, &GLDepr::RecordID)
            .text(u"EquipmentID"_s, &GLDepr::EquipmentID, 10)
            .date(u"Date"_s, &GLDepr::Date)
            .decimal(u"SLAmount"_s, &GLDepr::SLAmount, 15, 2)
            .decimal(u"SLValue"_s, &GLDepr::SLValue, 15, 2)
            .decimal(u"DDBAmount"_s, &GLDepr::DDBAmount, 15, 2)
            .decimal(u"DDBValue"_s, &GLDepr::DDBValue, 15, 2)
            .decimal(u"SYAmount"_s, &GLDepr::SYAmount, 15, 2)
            .decimal(u"SYValue"_s, &GLDepr::SYValue, 15, 2)
            .decimal(u"UD1Amount"_s, &GLDepr::UD1Amount, 15, 2)
            .decimal(u"UD1Value"_s, &GLDepr::UD1Value, 15, 2)
            .decimal(u"UD2Amount"_s, &GLDepr::UD2Amount, 15, 2)
            .decimal(u"UD2Value"_s, &GLDepr::UD2Value, 15, 2)
            .decimal(u"ActualAmount"_s, &GLDepr::ActualAmount, 15, 2)
            .text(u"FPPostedLabel"_s, &GLDepr::FPPostedLabel, 5)
            .integer(u"GLTransID"_s, &GLDepr::GLTransID)
            .text(u"Basis"_s, &GLDepr::Basis, 60)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s, u"Date"_s})
            .build();
    return schema;
}

const FileSchema &EQBatch::fileSchema()
{
    using B = SchemaBuilder<EQBatch>;
    static const FileSchema schema = B(u"EQBatch"_s, u"EQB"_s)
                                         .autoNumber(u"BatchID"_s, &EQBatch::BatchID)
                                         .text(u"UserID"_s, &EQBatch::UserID, 10)
                                         .text(u"Description"_s, &EQBatch::Description, 25)
                                         .integer(u"Secure"_s, &EQBatch::Secure)
                                         .text(u"InUseBy"_s, &EQBatch::InUseBy, 3)
                                         .integer(u"Repeating"_s, &EQBatch::Repeating)
                                         .decimal(u"Frequency"_s, &EQBatch::Frequency, 3, 0)
                                         .date(u"DateLastPosting"_s, &EQBatch::DateLastPosting)
                                         .integer(u"SortID"_s, &EQBatch::SortID)
                                         .integer(u"RememberLastJob"_s, &EQBatch::RememberLastJob)
                                         .integer(u"FrequencyType"_s, &EQBatch::FrequencyType)
                                         .integer(u"Frequency2"_s, &EQBatch::Frequency2)
                                         .integer(u"ReInsert"_s, &EQBatch::ReInsert)
                                         .key(u"KeyBatchID"_s, B::Unique, {u"BatchID"_s})
                                         .key(u"KeySortID"_s, B::Unique, {u"SortID"_s})
                                         .build();
    return schema;
}

const FileSchema &EQLogB::fileSchema()
{
    using B = SchemaBuilder<EQLogB>;
    static const FileSchema schema =
        B(u"EQLogB"_s, u"EQLB"_s)
            .autoNumber(u"LogID"_s, &EQLogB::LogID)
            .text(u"EquipmentID"_s, &EQLogB::EquipmentID, 10)
            .integer(u"BatchID"_s, &EQLogB::BatchID)
            .text(u"Type"_s, &EQLogB::Type, 1)
            .date(u"Date"_s, &EQLogB::Date)
            .decimal(u"StartMeter"_s, &EQLogB::StartMeter, 11, 2)
            .decimal(u"EndMeter"_s, &EQLogB::EndMeter, 11, 2)
            .decimal(u"Units"_s, &EQLogB::Units, 11, 2)
            .text(u"ChargeType"_s, &EQLogB::ChargeType, 1)
            .decimal(u"GrossAmount"_s, &EQLogB::GrossAmount, 11, 2)
            .decimal(u"AdjustedAmount"_s, &EQLogB::AdjustedAmount, 11, 2)
            .text(u"DetailType"_s, &EQLogB::DetailType, 11)
            .text(u"GLAccount"_s, &EQLogB::GLAccount, 12)
            .text(u"JobID"_s, &EQLogB::JobID, 10)
            .text(u"CostCode"_s, &EQLogB::CostCode, 14)
            .text(u"ChangeOrder"_s, &EQLogB::ChangeOrder, 14)
            .text(u"Category"_s, &EQLogB::Category, 10)
            .text(u"Comments"_s, &EQLogB::Comments, 20)
            .integer(u"EmployeeID"_s, &EQLogB::EmployeeID)
            .text(u"Location"_s, &EQLogB::Location, 10)
            .text(u"EquipmentIDCharged"_s, &EQLogB::EquipmentIDCharged, 10)
            .key(u"KeyLogID"_s, B::Unique, {u"LogID"_s})
            .key(u"KeyBatchID"_s, B::Duplicates, {u"BatchID"_s})
            .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s, u"Date"_s})
            // Older layouts kept the batch number signed: batches 32768 to
            // 65535 came back as their negative twins.
            .upgrade([](data::Database &db) {
                db.exec(u"UPDATE %1 SET %2 = %2 + 65536 WHERE %2 < 0"_s.arg(
                    data::Database::quote(u"EQLogB"_s), data::Database::quote(u"BatchID"_s)));
            })
            .build();
    return schema;
}

namespace {

template <class R> FileSchema describeEQLog(SchemaBuilder<R> &&b)
{
    using F = EQLogFields;
    using B = SchemaBuilder<R>;
    return b.autoNumber(u"RecordID"_s, &F::RecordID)
        .text(u"EquipmentID"_s, &F::EquipmentID, 10)
        .text(u"Type"_s, &F::Type, 1)
        .date(u"Date"_s, &F::Date)
        .decimal(u"StartMeter"_s, &F::StartMeter, 11, 2)
        .decimal(u"EndMeter"_s, &F::EndMeter, 11, 2)
        .decimal(u"Units"_s, &F::Units, 11, 2)
        .text(u"ChargeType"_s, &F::ChargeType, 1)
        .decimal(u"GrossAmount"_s, &F::GrossAmount, 11, 2)
        .decimal(u"AdjustedAmount"_s, &F::AdjustedAmount, 11, 2)
        .text(u"DetailType"_s, &F::DetailType, 11)
        .text(u"GLAccount"_s, &F::GLAccount, 12)
        .text(u"JobID"_s, &F::JobID, 10)
        .text(u"CostCode"_s, &F::CostCode, 14)
        .text(u"Category"_s, &F::Category, 10)
        .text(u"Comments"_s, &F::Comments, 20)
        .integer(u"EmployeeID"_s, &F::EmployeeID)
        .text(u"Location"_s, &F::Location, 5)
        .integer(u"Posted"_s, &F::Posted)
        .integer(u"JournalNumber"_s, &F::JournalNumber)
        .text(u"EquipmentIDCharged"_s, &F::EquipmentIDCharged, 10)
        .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
        .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s, u"Date"_s})
        .build();
}

} // namespace

const FileSchema &EQLog::fileSchema()
{
    static const FileSchema schema = describeEQLog(SchemaBuilder<EQLog>(u"EQLog"_s, u"EQL"_s));
    return schema;
}

const FileSchema &EQLogAlias::fileSchema()
{
    static const FileSchema schema = describeEQLog(
        std::move(SchemaBuilder<EQLogAlias>(u"EQLogAlias"_s, u"EQL1"_s).aliasOf(u"EQLog"_s)));
    return schema;
}

const FileSchema &EQLimits::fileSchema()
{
    using B = SchemaBuilder<EQLimits>;
    static const FileSchema schema =
        B(u"EQLimits"_s, u"EQLM"_s)
            // The suite's list and favourite records keep the number signed.
            .autoNumber(u"LimitID"_s, &EQLimits::LimitID, std::numeric_limits<qint32>::max())
            .text(u"UserID"_s, &EQLimits::UserID, 10)
            .text(u"Report"_s, &EQLimits::Report, 30)
            .text(u"ReportTitle"_s, &EQLimits::ReportTitle, 40)
            .date(u"ModifyDate"_s, &EQLimits::ModifyDate)
            .integer(u"SelectedEquipment"_s, &EQLimits::SelectedEquipment)
            .text(u"EquipmentFrom"_s, &EQLimits::EquipmentFrom, 10)
            .text(u"EquipmentTo"_s, &EQLimits::EquipmentTo, 10)
            .integer(u"SelectedCategory"_s, &EQLimits::SelectedCategory)
            .text(u"CategoryFrom"_s, &EQLimits::CategoryFrom, 10)
            .text(u"CategoryTo"_s, &EQLimits::CategoryTo, 10)
            .integer(u"SelectedDates"_s, &EQLimits::SelectedDates)
            .date(u"DateFrom"_s, &EQLimits::DateFrom)
            .date(u"DateTo"_s, &EQLimits::DateTo)
            .integer(u"SelectedFP"_s, &EQLimits::SelectedFP)
            .decimal(u"FPFrom"_s, &EQLimits::FPFrom, 4, 0)
            .decimal(u"FPTo"_s, &EQLimits::FPTo, 4, 0)
            .text(u"ReportFormat"_s, &EQLimits::ReportFormat, 1)
            .text(u"ReportType"_s, &EQLimits::ReportType, 1)
            .integer(u"SelectedClass"_s, &EQLimits::SelectedClass)
            .text(u"ClassFrom"_s, &EQLimits::ClassFrom, 30)
            .text(u"ClassTo"_s, &EQLimits::ClassTo, 30)
            .text(u"JournalType"_s, &EQLimits::JournalType, 15)
            .integer(u"SelectedJournals"_s, &EQLimits::SelectedJournals)
            .integer(u"JournalFrom"_s, &EQLimits::JournalFrom)
            .integer(u"JournalTo"_s, &EQLimits::JournalTo)
            .integer(u"SelectedRef"_s, &EQLimits::SelectedRef)
            .decimal(u"RefFrom"_s, &EQLimits::RefFrom, 15, 2)
            .decimal(u"RefTo"_s, &EQLimits::RefTo, 15, 2)
            .text(u"QuantityAnalysis"_s, &EQLimits::QuantityAnalysis, 1)
            .text(u"DetailSummary"_s, &EQLimits::DetailSummary, 1)
            .integer(u"SkipEquipment"_s, &EQLimits::SkipEquipment)
            .text(u"GLAccount"_s, &EQLimits::GLAccount, 12)
            .integer(u"PrintTransactionDetail"_s, &EQLimits::PrintTransactionDetail)
            .integer(u"IncludeInactive"_s, &EQLimits::IncludeInactive)
            .integer(u"Locked"_s, &EQLimits::Locked)
            .text(u"Orientation"_s, &EQLimits::Orientation, 1)
            .integer(u"ColorCoding"_s, &EQLimits::ColorCoding)
            .integer(u"SelectedJobs"_s, &EQLimits::SelectedJobs)
            .text(u"JobFrom"_s, &EQLimits::JobFrom, 10)
            .text(u"JobTo"_s, &EQLimits::JobTo, 10)
            .key(u"KeyLimitID"_s, B::Unique, {u"LimitID"_s})
            .key(u"KeyReport"_s, B::Duplicates, {u"Report"_s, u"ReportTitle"_s})
            .build();
    return schema;
}

void addModuleFiles(data::Catalog &catalog)
{
    for (const FileSchema *schema :
         {&EQHeader::fileSchema(), &EQHeaderAlias::fileSchema(), &EQCode::fileSchema(),
          &EQCost::fileSchema(), &UserDef::fileSchema(), &Images::fileSchema(),
          &Notes::fileSchema(), &EQPrior::fileSchema(), &EQPriorM::fileSchema(),
          &EQPriorC::fileSchema(), &EQPriorCM::fileSchema(), &GLDepr::fileSchema(),
          &EQBatch::fileSchema(), &EQLogB::fileSchema(), &EQLog::fileSchema(),
          &EQLogAlias::fileSchema(), &EQLimits::fileSchema()})
        catalog.add(*schema);
}

data::Catalog companyCatalog()
{
    data::Catalog catalog = data::Catalog::suite();
    addModuleFiles(catalog);
    return catalog;
}

} // namespace qaveq

#include "SuiteFiles.h"

#include "AccountsFiles.h"
#include "GeneralLedgerFiles.h"
#include "JobCostFiles.h"
#include "PayrollFiles.h"
#include "SystemFiles.h"

#include "data/SchemaBuilder.h"

#include <QCoreApplication>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace qaveq {

using data::FileSchema;
using data::SchemaBuilder;

const FileSchema &GLMaster::fileSchema()
{
    using B = SchemaBuilder<GLMaster>;
    static const FileSchema schema = B(u"GLMaster"_s, u"GLM"_s)
                                         .autoNumber(u"RecordID"_s, &GLMaster::RecordID)
                                         .text(u"Account"_s, &GLMaster::Account, 12)
                                         .text(u"Description"_s, &GLMaster::Description, 30)
                                         .text(u"AccountType"_s, &GLMaster::AccountType, 1)
                                         .integer(u"Active"_s, &GLMaster::Active)
                                         .key(u"KeyAccount"_s, B::Unique, {u"Account"_s})
                                         .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                         .build();
    return schema;
}

const FileSchema &GLFiscal::fileSchema()
{
    using B = SchemaBuilder<GLFiscal>;
    static const FileSchema schema =
        B(u"GLFiscal"_s, u"GLF"_s)
            .autoNumber(u"RecordID"_s, &GLFiscal::RecordID)
            .integer(u"FiscalPeriod"_s, &GLFiscal::FiscalPeriod)
            .text(u"Label"_s, &GLFiscal::Label, 5)
            .text(u"Description"_s, &GLFiscal::Description, 30)
            .date(u"PeriodDate"_s, &GLFiscal::PeriodDate)
            .date(u"StartDate"_s, &GLFiscal::StartDate)
            .date(u"EndDate"_s, &GLFiscal::EndDate)
            .integer(u"FiscalYear"_s, &GLFiscal::FiscalYear)
            .integer(u"Period"_s, &GLFiscal::Period)
            .integer(u"Closed"_s, &GLFiscal::Closed)
            .key(u"KeyFiscalPeriodUp"_s, B::Unique, {u"FiscalPeriod"_s})
            .key(u"KeyFiscalPeriodDown"_s, B::UniqueDescending, {u"FiscalPeriod"_s})
            .build();
    return schema;
}

const FileSchema &GLTrans::fileSchema()
{
    using B = SchemaBuilder<GLTrans>;
    static const FileSchema schema =
        B(u"GLTrans"_s, u"GLT"_s)
            .autoNumber(u"RecordID"_s, &GLTrans::RecordID)
            .text(u"JournalID"_s, &GLTrans::JournalID, 3)
            .integer(u"JournalNo"_s, &GLTrans::JournalNo)
            .integer(u"LineNo"_s, &GLTrans::LineNo)
            .integer(u"FiscalPeriod"_s, &GLTrans::FiscalPeriod)
            .date(u"TransDate"_s, &GLTrans::TransDate)
            .text(u"Account"_s, &GLTrans::Account, 12)
            .text(u"CreditDebit"_s, &GLTrans::CreditDebit, 1)
            .decimal(u"Amount"_s, &GLTrans::Amount, 15, 2)
            .text(u"SubsidiaryCode"_s, &GLTrans::SubsidiaryCode, 24)
            .text(u"EquipmentID"_s, &GLTrans::EquipmentID, 10)
            .decimal(u"SubsidiaryQuantity"_s, &GLTrans::SubsidiaryQuantity, 15, 4)
            .text(u"JobID"_s, &GLTrans::JobID, 10)
            .text(u"CostCode"_s, &GLTrans::CostCode, 14)
            .text(u"Description"_s, &GLTrans::Description, 60)
            .integer(u"APInvoiceID"_s, &GLTrans::APInvoiceID)
            .integer(u"ARInvoiceID"_s, &GLTrans::ARInvoiceID)
            .integer(u"PRTransIID"_s, &GLTrans::PRTransIID)
            .text(u"VendorID"_s, &GLTrans::VendorID, 10)
            .integer(u"EmployeeID"_s, &GLTrans::EmployeeID)
            .text(u"CustomerID"_s, &GLTrans::CustomerID, 10)
            .text(u"ItemID"_s, &GLTrans::ItemID, 20)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyEquipmentID"_s, B::Duplicates, {u"EquipmentID"_s, u"TransDate"_s})
            .key(u"KeySubsidiaryCode"_s, B::Duplicates, {u"SubsidiaryCode"_s, u"TransDate"_s})
            .build();
    return schema;
}

const FileSchema &JCHeader::fileSchema()
{
    using B = SchemaBuilder<JCHeader>;
    static const FileSchema schema = B(u"JCHeader"_s, u"JCH"_s)
                                         .autoNumber(u"RecordID"_s, &JCHeader::RecordID)
                                         .text(u"JobID"_s, &JCHeader::JobID, 10)
                                         .text(u"Name"_s, &JCHeader::Name, 40)
                                         .integer(u"Active"_s, &JCHeader::Active)
                                         .integer(u"Closed"_s, &JCHeader::Closed)
                                         .text(u"ImportantNote"_s, &JCHeader::ImportantNote, 255)
                                         .key(u"KeyJobID"_s, B::Unique, {u"JobID"_s})
                                         .key(u"KeyName"_s, B::Duplicates, {u"Name"_s})
                                         .build();
    return schema;
}

const FileSchema &JCCost::fileSchema()
{
    using B = SchemaBuilder<JCCost>;
    static const FileSchema schema =
        B(u"JCCost"_s, u"JCC"_s)
            .autoNumber(u"RecordID"_s, &JCCost::RecordID)
            .text(u"JobID"_s, &JCCost::JobID, 10)
            .text(u"CostCode"_s, &JCCost::CostCode, 14)
            .text(u"CostType"_s, &JCCost::CostType, 1)
            .text(u"Description"_s, &JCCost::Description, 30)
            .integer(u"Inactive"_s, &JCCost::Inactive)
            .text(u"GLAccount"_s, &JCCost::GLAccount, 12)
            .text(u"ImportantNote"_s, &JCCost::ImportantNote, 255)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyJobCodeType"_s, B::Unique, {u"JobID"_s, u"CostCode"_s, u"CostType"_s})
            .build();
    return schema;
}

const FileSchema &JCCOH::fileSchema()
{
    using B = SchemaBuilder<JCCOH>;
    static const FileSchema schema =
        B(u"JCCOH"_s, u"JCCOH"_s)
            .autoNumber(u"RecordID"_s, &JCCOH::RecordID)
            .text(u"JobID"_s, &JCCOH::JobID, 10)
            .text(u"ChangeOrder"_s, &JCCOH::ChangeOrder, 14)
            .text(u"Description"_s, &JCCOH::Description, 40)
            .date(u"Date"_s, &JCCOH::Date)
            .integer(u"Approved"_s, &JCCOH::Approved)
            .key(u"KeyJobChangeOrder"_s, B::Unique, {u"JobID"_s, u"ChangeOrder"_s})
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .build();
    return schema;
}

const FileSchema &JCCOD::fileSchema()
{
    using B = SchemaBuilder<JCCOD>;
    static const FileSchema schema = B(u"JCCOD"_s, u"JCCOD"_s)
                                         .autoNumber(u"RecordID"_s, &JCCOD::RecordID)
                                         .text(u"JobID"_s, &JCCOD::JobID, 10)
                                         .text(u"ChangeOrder"_s, &JCCOD::ChangeOrder, 14)
                                         .text(u"CostCode"_s, &JCCOD::CostCode, 14)
                                         .text(u"Description"_s, &JCCOD::Description, 40)
                                         .decimal(u"Amount"_s, &JCCOD::Amount, 15, 2)
                                         .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                         .key(u"KeyJobChangeOrder"_s, B::Duplicates,
                                              {u"JobID"_s, u"ChangeOrder"_s, u"CostCode"_s})
                                         .build();
    return schema;
}

const FileSchema &JCLimits::fileSchema()
{
    using B = SchemaBuilder<JCLimits>;
    static const FileSchema schema =
        B(u"JCLimits"_s, u"JCL"_s)
            .autoNumber(u"LimitID"_s, &JCLimits::LimitID)
            .text(u"UserID"_s, &JCLimits::UserID, 10)
            .text(u"Report"_s, &JCLimits::Report, 30)
            .text(u"ReportTitle"_s, &JCLimits::ReportTitle, 40)
            .text(u"JobTo"_s, &JCLimits::JobTo, 10)
            .text(u"PrintOrder"_s, &JCLimits::PrintOrder, 1)
            .integer(u"Skip"_s, &JCLimits::Skip)
            .text(u"NameFrom"_s, &JCLimits::NameFrom, 200)
            .text(u"Layout"_s, &JCLimits::Layout, 500)
            .key(u"KeyLimitID"_s, B::Unique, {u"LimitID"_s})
            .key(u"KeyReport"_s, B::Duplicates, {u"Report"_s, u"ReportTitle"_s})
            .build();
    return schema;
}

const FileSchema &PREmp::fileSchema()
{
    using B = SchemaBuilder<PREmp>;
    static const FileSchema schema = B(u"PREmp"_s, u"PRE"_s)
                                         .integer(u"EmployeeID"_s, &PREmp::EmployeeID)
                                         .text(u"FirstName"_s, &PREmp::FirstName, 20)
                                         .text(u"LastName"_s, &PREmp::LastName, 25)
                                         .integer(u"Active"_s, &PREmp::Active)
                                         .key(u"KeyEmployeeID"_s, B::Unique, {u"EmployeeID"_s})
                                         .build();
    return schema;
}

const FileSchema &PRCert::fileSchema()
{
    using B = SchemaBuilder<PRCert>;
    static const FileSchema schema = B(u"PRCert"_s, u"PRC"_s)
                                         .text(u"CertifiedID"_s, &PRCert::CertifiedID, 8)
                                         .text(u"Description"_s, &PRCert::Description, 40)
                                         .key(u"KeyCertifiedID"_s, B::Unique, {u"CertifiedID"_s})
                                         .build();
    return schema;
}

const FileSchema &NetUser::fileSchema()
{
    using B = SchemaBuilder<NetUser>;
    static const FileSchema schema =
        B(u"NetUser"_s, u"NET"_s)
            .text(u"UserID"_s, &NetUser::UserID, 3)
            .text(u"CompanyID"_s, &NetUser::CompanyID, 5)
            .text(u"Activity"_s, &NetUser::Activity, 30)
            .integer(u"Posting"_s, &NetUser::Posting)
            .date(u"SignOnDate"_s, &NetUser::SignOnDate)
            .time(u"SignOnTime"_s, &NetUser::SignOnTime)
            .text(u"Host"_s, &NetUser::Host, 64)
            .integer(u"ProcessID"_s, &NetUser::ProcessID)
            .key(u"KeyUserCompany"_s, B::Unique, {u"UserID"_s, u"CompanyID"_s})
            .key(u"KeyCompany"_s, B::Duplicates, {u"CompanyID"_s})
            .build();
    return schema;
}

QString NetUser::thisHost()
{
    return QSysInfo::machineHostName().left(fileSchema().field(u"Host")->width);
}

void NetUser::nameThisStation()
{
    Host = thisHost();
    ProcessID = QCoreApplication::applicationPid();
}

bool NetUser::isThisStation() const
{
    return ProcessID == QCoreApplication::applicationPid() && Host.trimmed() == thisHost();
}

const FileSchema &UserFile::fileSchema()
{
    using B = SchemaBuilder<UserFile>;
    static const FileSchema schema =
        B(u"UserFile"_s, u"USR"_s)
            .text(u"UserID"_s, &UserFile::UserID, 3)
            .text(u"FirstName"_s, &UserFile::FirstName, 20)
            .text(u"LastName"_s, &UserFile::LastName, 20)
            .integer(u"PostUsageLogs"_s, &UserFile::PostUsageLogs)
            .integer(u"PrePostBackup"_s, &UserFile::PrePostBackup)
            .integer(u"PasteSelection"_s, &UserFile::PasteSelection)
            .integer(u"EquipmentReadOnly"_s, &UserFile::EquipmentReadOnly)
            .integer(u"EquipmentNoChanges"_s, &UserFile::EquipmentNoChanges)
            .integer(u"UsageLogsReadOnly"_s, &UserFile::UsageLogsReadOnly)
            .integer(u"PreserveWindows"_s, &UserFile::PreserveWindows)
            .text(u"EmailAddress"_s, &UserFile::EmailAddress, 60)
            .text(u"EmailMessage"_s, &UserFile::EmailMessage, 500)
            .key(u"KeyUserID"_s, B::Unique, {u"UserID"_s})
            .build();
    return schema;
}

const FileSchema &Control::fileSchema()
{
    using B = SchemaBuilder<Control>;
    static const FileSchema schema = B(u"Control"_s, u"CTL"_s)
                                         .autoNumber(u"RecordID"_s, &Control::RecordID)
                                         .text(u"SystemPassword"_s, &Control::SystemPassword, 20)
                                         .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                         .build();
    return schema;
}

const FileSchema &Systems::fileSchema()
{
    using B = SchemaBuilder<Systems>;
    static const FileSchema schema =
        B(u"Systems"_s, u"SYS"_s)
            .autoNumber(u"RecordID"_s, &Systems::RecordID)
            .text(u"CompanyName"_s, &Systems::CompanyName, 40)
            .text(u"EquipmentExpenseAccount"_s, &Systems::EquipmentExpenseAccount, 12)
            .text(u"CurrentEarningsAccount"_s, &Systems::CurrentEarningsAccount, 12)
            .text(u"CashAccount"_s, &Systems::CashAccount, 12)
            .text(u"APControlAccount"_s, &Systems::APControlAccount, 12)
            .text(u"ARControlAccount"_s, &Systems::ARControlAccount, 12)
            .text(u"PayrollControlAccount"_s, &Systems::PayrollControlAccount, 12)
            .text(u"EquipmentClearingAccount"_s, &Systems::EquipmentClearingAccount, 12)
            .text(u"SubcontractsPayableAccount"_s, &Systems::SubcontractsPayableAccount, 12)
            .text(u"RetentionPayableAccount"_s, &Systems::RetentionPayableAccount, 12)
            .text(u"RetentionReceivableAccount"_s, &Systems::RetentionReceivableAccount, 12)
            .text(u"LaborCostsAccount"_s, &Systems::LaborCostsAccount, 12)
            .text(u"MaterialCostsAccount"_s, &Systems::MaterialCostsAccount, 12)
            .text(u"SubcontractCostsAccount"_s, &Systems::SubcontractCostsAccount, 12)
            .text(u"EquipmentCostsAccount"_s, &Systems::EquipmentCostsAccount, 12)
            .text(u"GeneralCostsAccount"_s, &Systems::GeneralCostsAccount, 12)
            .text(u"BurdenCostsAccount"_s, &Systems::BurdenCostsAccount, 12)
            .text(u"JobIncomeAccount"_s, &Systems::JobIncomeAccount, 12)
            .integer(u"ChangeOrders"_s, &Systems::ChangeOrders)
            .integer(u"CostCodeLength"_s, &Systems::CostCodeLength)
            .integer(u"JobIDLength"_s, &Systems::JobIDLength)
            .integer(u"LogUserActivity"_s, &Systems::LogUserActivity)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .build();
    return schema;
}

const FileSchema &UserLog::fileSchema()
{
    using B = SchemaBuilder<UserLog>;
    static const FileSchema schema = B(u"UserLog"_s, u"USL"_s)
                                         .autoNumber(u"RecordID"_s, &UserLog::RecordID)
                                         .text(u"UserID"_s, &UserLog::UserID, 3)
                                         .date(u"Date"_s, &UserLog::Date)
                                         .time(u"Time"_s, &UserLog::Time)
                                         .text(u"Area"_s, &UserLog::Area, 30)
                                         .text(u"Text"_s, &UserLog::Text, 255)
                                         .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                         .key(u"KeyDate"_s, B::Duplicates, {u"Date"_s, u"Time"_s})
                                         .build();
    return schema;
}

const FileSchema &LimList::fileSchema()
{
    using B = SchemaBuilder<LimList>;
    static const FileSchema schema =
        B(u"LimList"_s, u"LL"_s)
            .autoNumber(u"RecordID"_s, &LimList::RecordID)
            .text(u"FileName"_s, &LimList::FileName, 10)
            .integer(u"LimitID"_s, &LimList::LimitID)
            .text(u"Kind"_s, &LimList::Kind, 10)
            .text(u"Value"_s, &LimList::Value, 40)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyLimit"_s, B::Duplicates, {u"FileName"_s, u"LimitID"_s})
            .build();
    return schema;
}

const FileSchema &MemLimit::fileSchema()
{
    using B = SchemaBuilder<MemLimit>;
    static const FileSchema schema =
        B(u"MemLimit"_s, u"MEM"_s)
            .autoNumber(u"RecordID"_s, &MemLimit::RecordID)
            .integer(u"LimitID"_s, &MemLimit::LimitID)
            .text(u"UserID"_s, &MemLimit::UserID, 10)
            .text(u"FileName"_s, &MemLimit::FileName, 12)
            .text(u"ReportName"_s, &MemLimit::ReportName, 30)
            .text(u"Title"_s, &MemLimit::Title, 40)
            .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
            .key(u"KeyUser"_s, B::Duplicates, {u"UserID"_s, u"ReportName"_s, u"Title"_s})
            .build();
    return schema;
}

const FileSchema &DropList::fileSchema()
{
    using B = SchemaBuilder<DropList>;
    static const FileSchema schema =
        B(u"DropList"_s, u"DPL"_s)
            .autoNumber(u"RecordID"_s, &DropList::RecordID)
            .text(u"FieldName"_s, &DropList::FieldName, 30)
            .text(u"Value"_s, &DropList::Value, 30)
            .text(u"Description"_s, &DropList::Description, 60)
            .key(u"KeyFieldValue"_s, B::Unique, {u"FieldName"_s, u"Value"_s})
            .build();
    return schema;
}

const FileSchema &LBFmt::fileSchema()
{
    using B = SchemaBuilder<LBFmt>;
    static const FileSchema schema =
        B(u"LBFmt"_s, u"LBF"_s)
            .autoNumber(u"RecordID"_s, &LBFmt::RecordID)
            .text(u"UserID"_s, &LBFmt::UserID, 3)
            .text(u"ProcedureName"_s, &LBFmt::ProcedureName, 40)
            .text(u"Format"_s, &LBFmt::Format, 2000)
            .key(u"KeyUserProcedure"_s, B::Unique, {u"UserID"_s, u"ProcedureName"_s})
            .build();
    return schema;
}

const FileSchema &APVendor::fileSchema()
{
    using B = SchemaBuilder<APVendor>;
    static const FileSchema schema = B(u"APVendor"_s, u"APV"_s)
                                         .text(u"VendorID"_s, &APVendor::VendorID, 10)
                                         .text(u"Name"_s, &APVendor::Name, 40)
                                         .key(u"KeyVendorID"_s, B::Unique, {u"VendorID"_s})
                                         .build();
    return schema;
}

const FileSchema &APInvoice::fileSchema()
{
    using B = SchemaBuilder<APInvoice>;
    static const FileSchema schema = B(u"APInvoice"_s, u"API"_s)
                                         .autoNumber(u"InvoiceID"_s, &APInvoice::InvoiceID)
                                         .text(u"VendorID"_s, &APInvoice::VendorID, 10)
                                         .text(u"InvoiceNumber"_s, &APInvoice::InvoiceNumber, 15)
                                         .key(u"KeyInvoiceID"_s, B::Unique, {u"InvoiceID"_s})
                                         .build();
    return schema;
}

const FileSchema &ARCustomer::fileSchema()
{
    using B = SchemaBuilder<ARCustomer>;
    static const FileSchema schema = B(u"ARCustomer"_s, u"ARC"_s)
                                         .text(u"CustomerID"_s, &ARCustomer::CustomerID, 10)
                                         .text(u"Name"_s, &ARCustomer::Name, 40)
                                         .key(u"KeyCustomerID"_s, B::Unique, {u"CustomerID"_s})
                                         .build();
    return schema;
}

const FileSchema &ARBilling::fileSchema()
{
    using B = SchemaBuilder<ARBilling>;
    static const FileSchema schema = B(u"ARBilling"_s, u"ARB"_s)
                                         .autoNumber(u"BillingID"_s, &ARBilling::BillingID)
                                         .text(u"CustomerID"_s, &ARBilling::CustomerID, 10)
                                         .text(u"BillingNumber"_s, &ARBilling::BillingNumber, 15)
                                         .key(u"KeyBillingID"_s, B::Unique, {u"BillingID"_s})
                                         .build();
    return schema;
}

} // namespace qaveq

namespace qaveq::data {

QList<const FileSchema *> suiteFiles()
{
    return {&GLMaster::fileSchema(),   &GLFiscal::fileSchema(), &GLTrans::fileSchema(),
            &JCHeader::fileSchema(),   &JCCost::fileSchema(),   &JCCOH::fileSchema(),
            &JCCOD::fileSchema(),      &JCLimits::fileSchema(), &PREmp::fileSchema(),
            &PRCert::fileSchema(),     &NetUser::fileSchema(),  &UserFile::fileSchema(),
            &Control::fileSchema(),    &Systems::fileSchema(),  &UserLog::fileSchema(),
            &LimList::fileSchema(),    &MemLimit::fileSchema(), &DropList::fileSchema(),
            &LBFmt::fileSchema(),      &APVendor::fileSchema(), &APInvoice::fileSchema(),
            &ARCustomer::fileSchema(), &ARBilling::fileSchema()};
}

} // namespace qaveq::data

#include "WriterCatalogues.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

using writer::CatalogueField;
using writer::CatalogueFile;

// Fields written "Name s10" as in the module's field lists: the picture is
// "@" and what follows the name.
QList<CatalogueField> fields(const QString &prefix, const QString &list,
                             const QMap<QString, QString> &labels = {})
{
    QList<CatalogueField> result;
    for (const QString &entry : list.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = entry.simplified().split(u' ');
        const QString &name = parts.at(0);
        QString label = labels.value(name);
        if (label.isEmpty()) {
            static const QRegularExpression userDefined(u"^UD(\\d+)$"_s);
            const QRegularExpressionMatch ud = userDefined.match(name);
            label = ud.hasMatch() ? u"User Defined Field "_s + ud.captured(1)
                                  : writer::fieldLabel(name);
        }
        result.append({label, prefix + u':' + name, u'@' + parts.at(1)});
    }
    return result;
}

const QString EquipmentHead = u"EquipmentID s10, Description s40, VehicleLicense s10, "_s;
const QString EquipmentMasterTail =
    u"ClassCode s30, LicenseCode s5, VIN s30, UsageUnit s5, BillingUnit s5, "
    "CumulativeNonProductiveUnits n-21.2, YearNonProductiveUnits n-21.2, "
    "MonthNonProductiveUnits n-21.2, CumulativeUnits n-21.2, YearUnits n-21.2, MonthUnits n-21.2, "
    "Location s10, CurrentMeter n-21.2, PurchaseDate d17, "_s;
const QString EquipmentValues =
    u"PurchaseValue n-21.2, SalvageValue n-21.2, DepreciationYears n6, DepreciationMethod n1, "
    "LastPostingFiscalPeriod n3, "_s;
const QString EquipmentIncome =
    u"CumulativeInternalUnits n-21.2, YearInternalUnits n-21.2, MonthInternalUnits n-21.2, "
    "CumulativeInternalIncome n-21.2, YearInternalIncome n-21.2, MonthInternalIncome n-21.2, "
    "InternalBillingRate n-21.2, InternalIncomeControl s10, CumulativeRentalUnits n-21.2, "
    "YearRentalUnits n-21.2, MonthRentalUnits n-21.2, CumulativeRentalIncome n-21.2, "
    "YearRentalIncome n-21.2, MonthRentalIncome n-21.2, RentalBillingRate n-21.2, "
    "RentalIncomeControl s10, RentalThisPosting n-21.2, RentalUnitsThisPosting n-21.2, "
    "InternalThisPosting n-21.2, InternalUnitsThisPosting n-21.2, UD1 s40, UD2 s40, UD3 s40, "
    "UD4 s40, UD5 s40, UD6 s40, UD7 s40, UD8 s40, UD9 s40, UD10 s40"_s;
const QString CostFields =
    u"RecordID s20, EquipmentID s10, CostCategory s10, CumulativeUnitUsed n14.2, "
    "YearUnitsUsed n14.2, MonthUnitsUsed n14.2, CumulativeAmount n14.2, YearAmount n14.2, "
    "MonthAmount n14.2, UnitName s5, ControlCredit s12, ControlDebit s12, TaxAmount n14.2"_s;
const QString CategoryFields = u"CategoryID s10, Description s30, DefaultExpenseControl s12, "
                               "DefaultContraExpenseControl s12, DefaultUnit s5"_s;
const QString TransactionFields =
    u"RecordID n13, GroupID n6, AccountNumber s12, FiscalPeriod n3, FiscalPeriodLabel s5, "
    "JournalID s3, JournalNo n7, LineNo n4, TransDate d17, Posted n3, PostingDate d17, "
    "PostingTime t7, CheckNo s15, ClearedStatus s1, DetailType s11, SubsidiaryID s1, "
    "SubsidiaryCode s24, JobID s10, CodeTypeGroup s14, CostCode s10, CostType s1, GroupCode s3, "
    "EquipmentID s10, CostCategory s10, SubsidiaryQuantity n-20.4, SubsidiaryUnit s10, "
    "Description s60, CreditDebit s1, Amount n15.2, Tax n-21.2, Billed n3, VendorID n13, "
    "EmployeeID n13, CustomerID n13, APInvoiceID n_6, ARInvoiceID n_6, UserID s3, "
    "AmountBilled n-21.2, BillingInvoiceID n13, ItemID s25, WorkOrderID s15, LocationID s10, "
    "BinID s10, SerialID n13, JobBilling n3, PRTransIID n13"_s;

// The usage-log catalogue keeps the labels its reports were first designed
// with, word breaks and all.
QList<CatalogueField> usageLogFields()
{
    const struct
    {
        const char16_t *label, *name, *picture;
    } rows[] = {
        {u"Equipment ID", u"EquipmentID", u"@s10"},
        {u"Type", u"Type", u"@s1"},
        {u"Date", u"Date", u"@d17"},
        {u"Start Meter", u"StartMeter", u"@n-21.2"},
        {u"End Meter", u"EndMeter", u"@n-21.2"},
        {u"Units", u"Units", u"@n-21.2"},
        {u"Charge Type", u"ChargeType", u"@s1"},
        {u"Gross Amount", u"GrossAmount", u"@n-21.2"},
        {u"Adjusted Amount", u"AdjustedAmount", u"@n-21.2"},
        {u"Detail Type", u"DetailType", u"@s11"},
        {u"GLA ccount", u"GLAccount", u"@s12"},
        {u"Job ID", u"JobID", u"@s10"},
        {u"Cost Code", u"CostCode", u"@s14"},
        {u"Category", u"Category", u"@s10"},
        {u"Comments", u"Comments", u"@s20"},
        {u"Employee ID", u"EmployeeID", u"@n13"},
        {u"Location", u"Location", u"@s5"},
        {u"Posted", u"Posted", u"@n3"},
        {u"Journal No", u"JournalNumber", u"@n7"},
        {u"Equipment IDC harged", u"EquipmentIDCharged", u"@s10"},
    };
    QList<CatalogueField> result;
    for (const auto &row : rows)
        result.append({QString::fromUtf16(row.label), u"EQL:"_s + QString::fromUtf16(row.name),
                       QString::fromUtf16(row.picture)});
    return result;
}

writer::FileLink costsOfEquipment()
{
    return {u"EQCost"_s, u"EQHeader"_s, u"KeyEquipmentID"_s, {u"EQH:EquipmentID"_s}, true};
}

QList<WriterReportType> buildTypes()
{
    const QMap<QString, QString> transactionLabels{
        {u"VendorID"_s, u"Vendor ID Number"_s},     {u"EmployeeID"_s, u"Employee ID Number"_s},
        {u"CustomerID"_s, u"Customer ID Number"_s}, {u"APInvoiceID"_s, u"Invoice Number"_s},
        {u"ARInvoiceID"_s, u"Invoice Number"_s},    {u"ItemID"_s, u"Item ID Number"_s},
        {u"PRTransIID"_s, u"PRT rans IID"_s}};
    const QString detailEquipment = EquipmentHead + u"PhotoChange n3, "_s + EquipmentMasterTail +
                                    EquipmentValues + EquipmentIncome;
    const QString listEquipment =
        EquipmentHead + EquipmentMasterTail + EquipmentValues + EquipmentIncome;
    const QString analysisEquipment = EquipmentHead + EquipmentMasterTail + EquipmentIncome;
    const QList<CatalogueField> equipmentIdentity =
        fields(u"EQH"_s, u"EquipmentID s10, Description s40, ClassCode s30"_s);

    QList<WriterReportType> types;
    types.append(
        {u"PrintUsageLogFM"_s,
         u"usage log history"_s,
         u"Usage Log History.pdf"_s,
         {{u"EQLog"_s, 2, -1, usageLogFields()}, {u"EQHeader"_s, 3, -2, equipmentIdentity}},
         {u"EQLog"_s,
          u"KeyEquipmentID"_s,
          {{u"EQHeader"_s, u"EQLog"_s, u"KeyEquipmentID"_s, {u"EQL:EquipmentID"_s}, false}}}});
    types.append({u"PrintEQCategoryFM"_s,
                  u"cost category listing"_s,
                  u"Equipment Cost Category Listing.pdf"_s,
                  {{u"EQCode"_s, 2, -1, fields(u"EQD"_s, CategoryFields)}},
                  {u"EQCode"_s, u"KeyCategoryID"_s, {}}});
    types.append(
        {u"PrintEquipmentDetailFM"_s,
         u"equipment detail listing"_s,
         u"Equipment Detail Listing.pdf"_s,
         {{u"EQHeader"_s, 2, -1, fields(u"EQH"_s, detailEquipment)},
          {u"EQCost"_s, 4, -2, fields(u"EQC"_s, CostFields)},
          {u"GLTrans"_s, 4, -3, fields(u"GLT"_s, TransactionFields, transactionLabels)}},
         {u"EQHeader"_s,
          u"KeyEquipmentID"_s,
          {costsOfEquipment(),
           {u"GLTrans"_s, u"EQHeader"_s, u"KeyEquipmentID"_s, {u"EQH:EquipmentID"_s}, true}}}});
    types.append({u"PrintEquipmentListFM"_s,
                  u"equipment listing"_s,
                  u"Equipment Listing.pdf"_s,
                  {{u"EQHeader"_s, 2, -1, fields(u"EQH"_s, listEquipment)},
                   {u"EQCost"_s, 4, -2, fields(u"EQC"_s, CostFields)}},
                  {u"EQHeader"_s, u"KeyEquipmentID"_s, {costsOfEquipment()}}});
    types.append(
        {u"PrintEQAnalysisFM"_s,
         u"equipment analysis"_s,
         u"Equipment Analysis Report.pdf"_s,
         {{u"EQHeader"_s, 2, -1, fields(u"EQH"_s, analysisEquipment)},
          {u"EQCost"_s, 4, -2, fields(u"EQC"_s, CostFields)},
          {u"EQCode"_s, 3, -3, fields(u"EQD"_s, CategoryFields)}},
         {u"EQHeader"_s,
          u"KeyEquipmentID"_s,
          {costsOfEquipment(),
           {u"EQCode"_s, u"EQCost"_s, u"KeyCategoryID"_s, {u"EQC:CostCategory"_s}, false}}}});
    return types;
}

} // namespace

QString WriterReportType::catalogueText() const
{
    return writer::catalogueText(procedure, files);
}

writer::Catalogue WriterReportType::catalogue() const
{
    QString error;
    // The module's own catalogues always parse; a test holds them to it.
    writer::Catalogue catalogue =
        writer::Catalogue::parse(catalogueText(), &error).value_or(writer::Catalogue());
    // The designer speaks of the report and its files in the user's words.
    QStringList words = title.split(u' ');
    for (QString &word : words)
        if (!word.isEmpty())
            word[0] = word[0].toUpper();
    catalogue.setTitles({{procedure, words.join(u' ')},
                         {u"EQHeader"_s, u"Equipment"_s},
                         {u"EQCost"_s, u"Equipment Cost Categories"_s},
                         {u"EQCode"_s, u"Cost Categories"_s},
                         {u"EQLog"_s, u"Usage Logs"_s},
                         {u"GLTrans"_s, u"G/L Transactions"_s}});
    return catalogue;
}

QString WriterReportType::starterFile() const
{
    return u":/qaveq/writer/"_s + procedure + u".qvr"_s;
}

const QList<WriterReportType> &writerReportTypes()
{
    static const QList<WriterReportType> types = buildTypes();
    return types;
}

const WriterReportType *writerReportType(QStringView procedure)
{
    for (const WriterReportType &type : writerReportTypes())
        if (type.procedure.compare(procedure, Qt::CaseInsensitive) == 0)
            return &type;
    return nullptr;
}

} // namespace qaveq

#include "ReportFamily.h"

#include "ReportDispatch.h"
#include "records/EQLimits.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::ReportFamilies {

const QList<FamilyInfo> &all()
{
    static const QList<FamilyInfo> families{
        {ReportFamily::Analysis, u"analysis"_s, u"Analysis"_s, u"BROWSEEQANALYSISLIMITS"_s,
         u"UpdateEQAnalysisLimits"_s, u"Equipment Analysis Reports"_s, u"E/Q Analysis Report"_s,
         u"Adding an Equipment Analysis Report"_s, u"Changing an Equipment Analysis Report"_s,
         u"html/EC_Analysis_Reports.htm"_s, u"html/EC_Analysis_Reports.htm"_s, true, false,
         u"PRINTEQANALYSISSERVER"_s},
        {ReportFamily::Detail, u"detail"_s, u"Detail"_s, u"BROWSEEQDETAILLIMITS"_s,
         u"UpdateEQDetailLimits"_s, u"Equipment Detail Reports"_s, u"E/Q Detail Report"_s,
         u"Adding an Equipment Detail Report"_s, u"Changing an Equipment Detail Report"_s,
         u"html/EC_Detail_Reports.htm"_s, u"html/EC_Detail_Reports.htm"_s, true, true,
         u"PRINTEQDETAIL"_s},
        {ReportFamily::Listing, u"listing"_s, u"Equipment List"_s, u"BROWSEEQLISTINGLIMITS"_s,
         u"UpdateEQListingLimits"_s, u"Equipment Listings"_s, u"E/Q Equipment Listing"_s,
         u"Adding an Equipment Listing"_s, u"Changing an Equipment Listing"_s,
         u"html/EC_Equipment_Listing.htm"_s, u"html/EC_Equipment_Listing.htm"_s, false, true,
         u"PRINTEQLISTINGSERVER"_s},
        {ReportFamily::Category, u"category"_s, u"Category List"_s, u"BROWSEEQCATEGORYLISTLIMITS"_s,
         u"UpdateEQCategoryListLimits"_s, u"Equipment Cost Category Lists"_s,
         u"E/Q Cost Category Listing"_s, u"Adding an Equipment Cost Category List"_s,
         u"Changing an Equipment Cost Category List"_s, u"html/EC_Cost_Category_Listing.htm"_s,
         u"html/EC_Cost_Category_Listing.htm"_s, false, false, u"PRINTEQCATEGORYLISTSERVER"_s},
        {ReportFamily::Proof,
         u"proof"_s,
         u"Log Proof Listing"_s,
         u"BrowseEQProofLimits"_s,
         u"UpdateEQProofLimits"_s,
         u"Usage Log Proof Listing"_s,
         {},
         u"Adding an Equipment Log Proof Listing"_s,
         u"Changing an Equipment Log Proof Listing"_s,
         u"html/EC_Log_Proof_Listing.htm"_s,
         u"html/EC_Log_Proof_Listing.htm#ec_insert_or_change_an_equipment_log_proof_listing"_s,
         false,
         false,
         u"PRINTEQLOGBPROOF"_s},
    };
    return families;
}

const FamilyInfo &info(ReportFamily family)
{
    return all()[static_cast<int>(family)];
}

const FamilyInfo *ofReport(const QString &report)
{
    const QString wanted = Text::clip(report);
    for (const FamilyInfo &family : all())
        if (family.report.compare(wanted, Qt::CaseInsensitive) == 0)
            return &family;
    return nullptr;
}

const FamilyInfo *named(const QString &name)
{
    for (const FamilyInfo &family : all())
        if (family.name == name)
            return &family;
    return nullptr;
}

QString reportProcedure(const EQLimits &definition)
{
    const FamilyInfo *family = ofReport(definition.Report);
    if (!family)
        return {};
    switch (family->family) {
    case ReportFamily::Analysis:
        return ReportDispatch::analysis(definition);
    case ReportFamily::Listing:
        return ReportDispatch::listing(definition);
    case ReportFamily::Category:
        return ReportDispatch::categoryList(definition);
    case ReportFamily::Detail:
    case ReportFamily::Proof:
        return family->dispatch;
    }
    return {};
}

} // namespace qaveq::ReportFamilies

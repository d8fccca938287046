#include "ProcedureTable.h"

using namespace Qt::StringLiterals;

namespace qaveq {

const QList<ProcedureInfo> &procedureTable()
{
    static const QList<ProcedureInfo> table{
        {u"QAVEQ:INIT"_s, u"initialise the module with the host's error and INI managers"_s},
        {u"QAVEQ:KILL"_s, u"release the sibling modules before the module is unloaded"_s},
        {u"UPDATEEQHEADER"_s, u"equipment record form"_s},
        {u"BROWSEEQHEADER"_s, u"equipment list with active/inactive filters"_s},
        {u"BROWSEEQHEADERALIAS"_s, u"second equipment list on the alias of the equipment file"_s},
        {u"TOGGLEEASYAUTOENTRYEQ"_s, u"switches the auto-entry object on or off"_s},
        {u"BROWSEEQCODE"_s, u"cost-category list with \"Apply to All\""_s},
        {u"UPDATEEQCODE"_s, u"cost-category form"_s},
        {u"BROWSEEQCOST"_s, u"equipment cost-category lookup list"_s},
        {u"UPDATEEQCOST"_s, u"equipment cost-category form"_s},
        {u"PRINTFIXEDASSETS"_s, u"fixed-asset depreciation schedule report"_s},
        {u"PRINTFIXEDASSETGRAPHS"_s, u"fixed-asset depreciation graphs report"_s},
        {u"FIXEDASSETGRAPH"_s, u"on-screen depreciation graph window"_s},
        {u"UPDATEEQBATCH"_s, u"usage-log batch form"_s},
        {u"BROWSEEQLOG"_s, u"usage-log batch and entry list"_s},
        {u"PRINTEQLOGBPROOF"_s, u"usage-log proof listing"_s},
        {u"IMPORTEQLOG"_s, u"usage-log import"_s},
        {u"EXPORTEQLOG"_s, u"usage-log export"_s},
        {u"PRINTEQANALYSIS"_s, u"equipment analysis report"_s},
        {u"PRINTEQANALYSIS1"_s, u"equipment analysis report, summary form"_s},
        {u"BROWSEEQANALYSISLIMITS"_s, u"saved definitions of the analysis report"_s},
        {u"PRINTEQDETAIL"_s, u"equipment detail listing"_s},
        {u"BROWSEEQDETAILLIMITS"_s, u"saved definitions of the detail listing"_s},
        {u"PRINTEQLISTING"_s, u"equipment listing"_s},
        {u"PRINTEQLISTING1"_s, u"equipment listing, summary form"_s},
        {u"BROWSEEQLISTINGLIMITS"_s, u"saved definitions of the equipment listing"_s},
        {u"PRINTEQCATEGORYLIST"_s, u"cost-category listing"_s},
        {u"PRINTEQCATEGORYLIST1"_s, u"cost-category listing, summary form"_s},
        {u"BROWSEEQCATEGORYLISTLIMITS"_s, u"saved definitions of the category listing"_s},
        {u"PRINTEQMAINTENANCE"_s, u"maintenance schedule report"_s},
        {u"LISTEQREPORTS"_s, u"list of the module's reports"_s},
        {u"PRINTUSAGELOGFM"_s, u"usage-log report through the report writer"_s},
        {u"PRINTEQCATEGORYFM"_s, u"category report through the report writer"_s},
        {u"PRINTEQUIPMENTDETAILFM"_s, u"detail report through the report writer"_s},
        {u"PRINTEQUIPMENTLISTFM"_s, u"equipment list through the report writer"_s},
        {u"PRINTEQANALYSISFM"_s, u"analysis report through the report writer"_s},
        {u"PRINTEQCATEGORYLISTSERVER"_s,
         u"runs the cost-category listing in the form the current report definition names"_s},
        {u"PRINTEQANALYSISSERVER"_s,
         u"runs the analysis, cost summary or maintenance report the current definition names"_s},
        {u"PRINTEQLISTINGSERVER"_s,
         u"runs the equipment listing in the form the current report definition names"_s},
    };
    return table;
}

QString symbolOf(const QString &name)
{
    QString symbol = name;
    return symbol.replace(u':', u'_');
}

} // namespace qaveq

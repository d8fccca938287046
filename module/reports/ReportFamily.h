#pragma once

#include <QList>
#include <QString>

namespace qaveq {

struct EQLimits;

// The kinds of saved report definition. One record layout serves them all;
// each kind has its own list, form, favourites name and report dispatch.
enum class ReportFamily { Analysis, Detail, Listing, Category, Proof };

struct FamilyInfo
{
    ReportFamily family;
    QString name;          // on the command line: "analysis"
    QString report;        // the EQLM:Report value: "Analysis"
    QString listProcedure; // "BROWSEEQANALYSISLIMITS"
    QString formProcedure; // "UpdateEQAnalysisLimits"
    QString listTitle;
    QString favourites; // the favourites name; empty: no favourite button
    QString insertCaption;
    QString changeCaption;
    QString helpTopic;
    QString formHelpTopic;
    bool view = false;                // "&View" on the list, "Save and &View" on the form
    bool defaultsDeleteLists = false; // Load Defaults also deletes the list entries
    // The procedure that prints a definition of the family: a server that
    // chooses the report by the definition's code, or the report itself.
    QString dispatch;
};

namespace ReportFamilies {

const QList<FamilyInfo> &all();
const FamilyInfo &info(ReportFamily family);
// By the EQLM:Report value, or by the command-line name; null when none.
const FamilyInfo *ofReport(const QString &report);
const FamilyInfo *named(const QString &name);
// The report procedure the definition prints through, after the family's
// server chose it; empty when its code names none.
QString reportProcedure(const EQLimits &definition);

} // namespace ReportFamilies

} // namespace qaveq

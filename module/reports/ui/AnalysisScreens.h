#pragma once

#include "output/OutputState.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace qaveq {

namespace data {
class ErrorManager;
class Session;
} // namespace data

// The reports of the analysis definitions in the windows, and the window that
// shows a report's equipment and figures on screen instead of printing them.
namespace AnalysisScreens {

// The report of the definition handed over in the report filter: printed,
// or, while the session's view mode is set, shown in the view window.
void printAnalysis(data::ErrorManager &errors, OutputState &output);
void printSummary(data::ErrorManager &errors, OutputState &output);
void printMaintenance(data::ErrorManager &errors, OutputState &output);

// One tab of the view window: a report's equipment list and what it shows
// beside it. The window shows only the tab of the view mode it is opened in.
struct ViewTab
{
    QString title;        // the tab's text
    QString formatFolder; // below the application-data folder: "EQ Analysis Report"
    QString sendToName;   // "EQ Analysis Listing"
    // ID, Description, VIN, License per equipment.
    QList<QStringList> equipment;
    // The figures shown for the highlighted equipment; null: none.
    std::function<QWidget *(int row, QWidget *parent)> detail;
    // Prints the report again.
    std::function<void()> print;
    // Qt::Horizontal: the figures beside the list; Qt::Vertical: under it,
    // for figures as wide as a ledger line.
    Qt::Orientation arrangement = Qt::Horizontal;
};

// LISTEQREPORTS: "Analysis Report Detail" on the tab of view mode `mode`
// (1 analysis, 2 cost summary, 3 detail listing). Sets the view mode back
// to 0 when it closes.
void viewWindow(data::Session &session, int mode, ViewTab tab, QWidget *parent = nullptr);

// "1 Record", "12 Records".
QString recordCount(int count);

} // namespace AnalysisScreens

} // namespace qaveq

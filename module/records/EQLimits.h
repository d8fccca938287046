#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// A saved report definition. "Selected..." bytes hold 0 All, 1 Range, 2 List
// unless said otherwise; several fields mean different things per family.
struct EQLimits : data::RecordOf<EQLimits>
{
    // What the "Selected..." bytes hold; SelectedDates holds AsOfPeriod in
    // place of List.
    enum Selection : quint8 { All = 0, Range = 1, List = 2, AsOfPeriod = 2 };

    quint32 LimitID = 0;
    QString UserID;      // 10: owner
    QString Report;      // 30: report family
    QString ReportTitle; // 40
    DayNumber ModifyDate = 0;
    quint8 SelectedEquipment = 0;
    QString EquipmentFrom, EquipmentTo; // 10
    quint8 SelectedCategory = 0;
    QString CategoryFrom, CategoryTo; // 10
    quint8 SelectedDates = 0;         // 0 All, 1 Range, 2 "As of" a fiscal period
    DayNumber DateFrom = 0;
    DayNumber DateTo = 0;
    quint8 SelectedFP = 0;
    Decimal FPFrom, FPTo; // 4.0
    QString ReportFormat; // 1
    QString ReportType;   // 1
    quint8 SelectedClass = 0;
    QString ClassFrom, ClassTo; // 30
    QString JournalType;        // 15
    quint8 SelectedJournals = 0;
    qint32 JournalFrom = 0;
    qint32 JournalTo = 0;
    quint8 SelectedRef = 0;
    Decimal RefFrom, RefTo;   // 15.2
    QString QuantityAnalysis; // 1
    QString DetailSummary;    // 1
    quint8 SkipEquipment = 0;
    QString GLAccount; // 12
    quint8 PrintTransactionDetail = 0;
    quint8 IncludeInactive = 0;
    quint8 Locked = 0;
    QString Orientation; // 1: "P" or "L"
    quint8 ColorCoding = 0;
    quint8 SelectedJobs = 0;
    QString JobFrom, JobTo; // 10
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq

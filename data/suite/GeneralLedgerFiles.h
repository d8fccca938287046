#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// General-ledger account.
struct GLMaster : data::RecordOf<GLMaster>
{
    qint32 RecordID = 0;
    QString Account;     // 12
    QString Description; // 30
    QString AccountType; // 1: A asset, L liability, Q equity, R revenue, E expense
    quint8 Active = 1;
    static const data::FileSchema &fileSchema();
};

// Fiscal period. The calendar year of PeriodDate is the period's fiscal year.
struct GLFiscal : data::RecordOf<GLFiscal>
{
    qint32 RecordID = 0;
    qint32 FiscalPeriod = 0; // running period number
    QString Label;           // 5, e.g. "01/25"
    QString Description;     // 30
    DayNumber PeriodDate = 0;
    DayNumber StartDate = 0;
    DayNumber EndDate = 0;
    qint16 FiscalYear = 0;
    quint8 Period = 0; // 1..12 within the fiscal year
    quint8 Closed = 0;
    static const data::FileSchema &fileSchema();
};

// General-ledger transaction line.
struct GLTrans : data::RecordOf<GLTrans>
{
    qint32 RecordID = 0;
    QString JournalID; // 3
    qint32 JournalNo = 0;
    qint16 LineNo = 0;
    qint32 FiscalPeriod = 0;
    DayNumber TransDate = 0;
    QString Account;            // 12
    QString CreditDebit;        // 1, "C" credit, "D" debit
    Decimal Amount;             // 15.2
    QString SubsidiaryCode;     // 24: equipment ID (10) + category code, ".I" or ".R"
    QString EquipmentID;        // 10
    Decimal SubsidiaryQuantity; // 15.4
    QString JobID;              // 10
    QString CostCode;           // 14
    QString Description;        // 60
    qint32 APInvoiceID = 0;
    qint32 ARInvoiceID = 0;
    qint32 PRTransIID = 0;
    QString VendorID; // 10
    qint32 EmployeeID = 0;
    QString CustomerID; // 10
    QString ItemID;     // 20
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq

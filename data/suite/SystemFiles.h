#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// One record per signed-on user and company.
struct NetUser : data::RecordOf<NetUser>
{
    QString UserID;    // 3
    QString CompanyID; // 5
    QString Activity;  // 30: what the user is doing now, e.g. posting
    quint8 Posting = 0;
    DayNumber SignOnDate = 0;
    TimeOfDay SignOnTime = 0;
    // The station's machine and process: a record whose process no longer
    // runs on that machine belongs to a station that is gone.
    QString Host; // 64
    qint64 ProcessID = 0;
    static const data::FileSchema &fileSchema();

    // This station's machine and process, as its record names them.
    static QString thisHost();
    void nameThisStation();
    bool isThisStation() const;
};

struct UserFile : data::RecordOf<UserFile>
{
    QString UserID;    // 3
    QString FirstName; // 20
    QString LastName;  // 20
    quint8 PostUsageLogs = 1;
    quint8 PrePostBackup = 0;
    quint8 PasteSelection = 0;
    quint8 EquipmentReadOnly = 0;
    // 1: the user may not add, change or delete equipment. Kept as a refusal
    // so that users stored before it existed keep their right.
    quint8 EquipmentNoChanges = 0;
    quint8 UsageLogsReadOnly = 0;
    quint8 PreserveWindows = 1; // keep list layouts and window places
    QString EmailAddress;       // 60
    QString EmailMessage;       // 500: the body of the reports this user e-mails
    static const data::FileSchema &fileSchema();
};

// The company's control record (the first one counts).
struct Control : data::RecordOf<Control>
{
    qint32 RecordID = 0;
    QString SystemPassword; // 20
    static const data::FileSchema &fileSchema();
};

// Company settings, including the control accounts.
struct Systems : data::RecordOf<Systems>
{
    qint32 RecordID = 0;
    QString CompanyName;              // 40
    QString EquipmentExpenseAccount;  // 12: default expense account of cost categories
    QString CurrentEarningsAccount;   // 12
    QString CashAccount;              // 12
    QString APControlAccount;         // 12
    QString ARControlAccount;         // 12
    QString PayrollControlAccount;    // 12
    QString EquipmentClearingAccount; // 12
    // The control accounts of the payables, receivables and open jobs: the
    // ledgers that keep them balanced post to them, nobody else should.
    QString SubcontractsPayableAccount; // 12
    QString RetentionPayableAccount;    // 12
    QString RetentionReceivableAccount; // 12
    QString LaborCostsAccount;          // 12
    QString MaterialCostsAccount;       // 12
    QString SubcontractCostsAccount;    // 12
    QString EquipmentCostsAccount;      // 12
    QString GeneralCostsAccount;        // 12
    QString BurdenCostsAccount;         // 12
    QString JobIncomeAccount;           // 12
    quint8 ChangeOrders = 0;            // 1 = change orders are tracked on jobs
    quint8 CostCodeLength = 10;
    quint8 JobIDLength = 0; // typed job IDs are filled with zeros to it; 0: not filled
    // GLO:LogUserActivity: 2 writes a user-log entry for every add, change and
    // delete; only the company's administrator changes it.
    quint8 LogUserActivity = 0;
    static const data::FileSchema &fileSchema();
};

// User activity entries (written when the logging level is 2).
struct UserLog : data::RecordOf<UserLog>
{
    qint32 RecordID = 0;
    QString UserID; // 3
    DayNumber Date = 0;
    TimeOfDay Time = 0;
    QString Area; // 30, e.g. "EQ Usage Logs"
    QString Text; // 255
    static const data::FileSchema &fileSchema();
};

// Members of the "List" selections of saved report definitions.
struct LimList : data::RecordOf<LimList>
{
    qint32 RecordID = 0;
    QString FileName; // 10, "EQLimits"
    qint32 LimitID = 0;
    QString Kind;  // 10: which selection the member belongs to
    QString Value; // 40
    static const data::FileSchema &fileSchema();
};

// A user's favourite reports.
struct MemLimit : data::RecordOf<MemLimit>
{
    qint32 RecordID = 0;
    qint32 LimitID = 0;
    QString UserID;     // 10
    QString FileName;   // 12, "EQLimits"
    QString ReportName; // 30
    QString Title;      // 40
    static const data::FileSchema &fileSchema();
};

// Values of the named drop-down lists ("EQH Class Code", "EQH License Code").
struct DropList : data::RecordOf<DropList>
{
    qint32 RecordID = 0;
    QString FieldName;   // 30: the list's name
    QString Value;       // 30
    QString Description; // 60
    static const data::FileSchema &fileSchema();
};

// A list's saved column layout, per user and procedure.
struct LBFmt : data::RecordOf<LBFmt>
{
    qint32 RecordID = 0;
    QString UserID;        // 3
    QString ProcedureName; // 40
    QString Format;        // 2000
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq

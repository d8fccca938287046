#include "LogEntryChecks.h"

#include "common/ChargeCodes.h"
#include "logs/LogEntryForm.h"
#include "logs/LogEntryMemory.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::LogEntryChecks {

using forms::CodeCheck;
using forms::FormModel;
using namespace LogEntryForm;

const QString NotInDictionary = u"Code Not In Dictionary"_s;

// Meter readings, units and amounts of a log are 11.2.
constexpr int LogDigits = 11;

bool detailIs(const FormModel &form, const QString &type)
{
    return form.code(u"DetailType") == type;
}

Decimal number(const FormModel &form, QStringView name)
{
    return std::get<Decimal>(form.value(name));
}

data::FieldValue fitting(const FormModel &form, QStringView field, const Decimal &figure)
{
    return figure.fits(LogDigits, 2) ? data::FieldValue(figure.rounded(2)) : form.value(field);
}

QString tooLarge(const FormModel &form)
{
    const Decimal units = number(form, u"EndMeter") - number(form, u"StartMeter");
    const Decimal gross = number(form, u"Units") * number(form, Rate);
    if (!units.fits(LogDigits, 2) || !gross.fits(LogDigits, 2) ||
        !(gross + number(form, Adjustment)).fits(LogDigits, 2))
        return u"These readings give more units or a larger charge than a usage log can hold."_s;
    return {};
}

Decimal rateFor(QStringView chargeType, const Decimal &internal, const Decimal &rental)
{
    return chargeType == u"R" ? rental : internal;
}

Decimal rateFor(QStringView chargeType, const EQHeader &piece)
{
    return rateFor(chargeType, piece.InternalBillingRate, piece.RentalBillingRate);
}

Decimal rateOf(const FormModel &form)
{
    return rateFor(form.code(u"ChargeType"), number(form, InternalRate), number(form, RentalRate));
}

// Charges: gross = units x rate, net = gross + adjustment, at the rate of
// the charge type.
void priceCharges(FormModel &form)
{
    form.setValue(Rate, rateOf(form));
    form.setValue(u"GrossAmount",
                  fitting(form, u"GrossAmount", number(form, u"Units") * number(form, Rate)));
    form.setValue(
        u"AdjustedAmount",
        fitting(form, u"AdjustedAmount", number(form, u"GrossAmount") + number(form, Adjustment)));
}

std::optional<EQHeader> equipment(const FormModel &form, const QString &id)
{
    EQHeader found;
    found.EquipmentID = id;
    if (id.isEmpty() || !form.session().company->file<EQHeader>().fetch(u"KeyEquipmentID", found))
        return std::nullopt;
    return found;
}

void showEquipment(FormModel &form, const EQHeader &piece)
{
    form.setValue(EquipmentName, Text::clip(piece.Description));
    form.setValue(InternalRate, piece.InternalBillingRate);
    form.setValue(RentalRate, piece.RentalBillingRate);
    form.setValue(UsageUnit, Text::clip(piece.UsageUnit));
    form.setValue(BillingUnit, Text::clip(piece.BillingUnit));
}

void showEmployee(FormModel &form)
{
    PREmp employee;
    employee.EmployeeID = static_cast<qint32>(std::get<qint64>(form.value(u"EmployeeID")));
    const bool found = employee.EmployeeID != 0 &&
                       form.session().company->file<PREmp>().fetch(u"KeyEmployeeID", employee);
    form.setValue(EmployeeName,
                  found ? (Text::clip(employee.FirstName) + u' ' + Text::clip(employee.LastName))
                              .trimmed()
                              .left(40)
                        : QString());
}

// The equipment of a new or changed log: its rates and units, the start
// meter it is read from, the charges, and its operator as the employee.
void takeEquipment(FormModel &form, LogEntryMemory &memory, const EQHeader &piece)
{
    form.session().equipField = Text::clip(piece.EquipmentID);
    showEquipment(form, piece);
    form.setValue(u"StartMeter", fitting(form, u"StartMeter",
                                         memory.startMeter(piece.EquipmentID, piece.CurrentMeter)));
    priceCharges(form);
    if (piece.OperatorEmployeeID != 0) {
        form.setValue(u"EmployeeID", qint64(piece.OperatorEmployeeID));
        showEmployee(form);
    }
}

static QString jobName(const FormModel &form)
{
    const ChargeCodes::Job job = ChargeCodes::job(*form.session().company, form.code(u"JobID"));
    return job.state == ChargeCodes::State::NotFound ? QString() : Text::clip(job.record.Name);
}

static QString costCodeName(const FormModel &form)
{
    const ChargeCodes::CostCode code =
        ChargeCodes::costCode(*form.session().company, form.code(u"JobID"), form.code(u"CostCode"),
                              form.session().costCodeLength);
    return code.state == ChargeCodes::State::NotFound ? QString()
                                                      : Text::clip(code.record.Description);
}

static QString accountName(const FormModel &form)
{
    GLMaster account;
    account.Account = form.code(u"GLAccount");
    if (account.Account.isEmpty() ||
        !form.session().company->file<GLMaster>().fetch(u"KeyAccount", account))
        return {};
    return Text::clip(account.Description);
}

static QString categoryName(const FormModel &form)
{
    EQCode category;
    category.CategoryID = form.code(u"Category");
    if (category.CategoryID.isEmpty())
        return {};
    if (!form.session().company->file<EQCode>().fetch(u"KeyCategoryID", category))
        return NotInDictionary;
    return Text::clip(category.Description);
}

// The equipment whose cost categories the log's category is one of: the
// equipment charged for detail type Equipment, the log's own otherwise.
static QString categoryOwner(const FormModel &form)
{
    return form.code(detailIs(form, Equipment) ? u"EquipmentIDCharged" : u"EquipmentID");
}

static std::optional<JCCOH> changeOrderHeader(const FormModel &form, const QString &changeOrder)
{
    JCCOH header;
    header.JobID = form.code(u"JobID");
    header.ChangeOrder = changeOrder;
    if (changeOrder.isEmpty() ||
        !form.session().company->file<JCCOH>().fetch(u"KeyJobChangeOrder", header))
        return std::nullopt;
    return header;
}

static void validateCostCodeAgain(FormModel &form, const QString &code);

// The change order's description; a blank change order takes the number of
// the detail's change order, and the detail's cost code replaces the log's.
static void refreshChangeOrder(FormModel &form)
{
    JCCOD detail;
    detail.RecordID = static_cast<qint32>(std::get<qint64>(form.value(ChangeOrderDetail)));
    if (detail.RecordID == 0 ||
        !form.session().company->file<JCCOD>().fetch(u"KeyRecordID", detail)) {
        const std::optional<JCCOH> header = changeOrderHeader(form, form.code(u"ChangeOrder"));
        form.setValue(ChangeOrderName,
                      header ? Text::clip(header->Description).left(40) : QString());
        return;
    }
    const std::optional<JCCOH> header = changeOrderHeader(form, Text::clip(detail.ChangeOrder));
    form.setValue(ChangeOrderName, header ? Text::clip(header->Description).left(40) : QString());
    if (header && form.code(u"ChangeOrder").isEmpty())
        form.setValue(u"ChangeOrder", Text::clip(header->ChangeOrder));
    if (Text::clip(detail.CostCode) != form.code(u"CostCode")) {
        form.session().test = QString::number(detail.RecordID);
        validateCostCodeAgain(form, Text::clip(detail.CostCode));
    }
}

void refreshDescriptions(FormModel &form)
{
    QString first, second;
    if (detailIs(form, Job)) {
        first = jobName(form);
        second = costCodeName(form);
    } else if (detailIs(form, Account)) {
        first = accountName(form);
    } else if (detailIs(form, Equipment) || detailIs(form, Maintenance)) {
        const std::optional<EQHeader> piece = equipment(form, categoryOwner(form));
        first = piece ? Text::clip(piece->Description) : QString();
        second = categoryName(form);
    }
    form.setValue(Line1, first.left(30));
    form.setValue(Line2, second.left(30));
    refreshChangeOrder(form);
}

// The company's settings: its first Systems record.
Systems settingsOf(data::Session &session)
{
    Systems settings;
    data::KeyCursor cursor = session.company->file<Systems>().scan(u"KeyRecordID");
    static_cast<void>(cursor.next(settings));
    return settings;
}

static void tell(FormModel &form, const QString &caption, const QString &text,
                 Message::Icon icon = Message::Icon::Exclamation)
{
    form.prompter().ask(Message{caption, text, u"&OK"_s, 1, icon});
}

static bool inactiveEquipmentAllowed(FormModel &form, const data::Record &found,
                                     const QString &field)
{
    const auto &piece = static_cast<const EQHeader &>(found);
    if (piece.Active)
        return true;
    const int answer = form.prompter().ask(
        Message{u"Assign to Inactive Equipment?"_s,
                u"Equipment "_s + Text::clip(piece.EquipmentID) +
                    u" has been marked 'Inactive', are you sure you want to "_s +
                    u"assign this log entry to this piece of equipment"_s,
                u"&Yes|&No"_s, 1, Message::Icon::Question});
    if (answer == 1)
        return true;
    form.setValue(field, QString());
    return false;
}

CodeCheck equipmentCheck(LogEntryMemory &memory)
{
    CodeCheck check{
        .file = u"EQHeader"_s, .key = u"KeyEquipmentID"_s, .lookup = u"BROWSEEQHEADER"_s};
    check.allowed = [](FormModel &form, const data::Record &found) {
        return inactiveEquipmentAllowed(form, found, u"EQLB:EquipmentID"_s);
    };
    check.accepted = [&memory](FormModel &form, const data::Record &found) {
        takeEquipment(form, memory, static_cast<const EQHeader &>(found));
        if (detailIs(form, Maintenance))
            refreshDescriptions(form);
    };
    return check;
}

CodeCheck chargedCheck()
{
    CodeCheck check{
        .file = u"EQHeader"_s, .key = u"KeyEquipmentID"_s, .lookup = u"BROWSEEQHEADER"_s};
    check.allowed = [](FormModel &form, const data::Record &found) {
        return inactiveEquipmentAllowed(form, found, u"EQLB:EquipmentIDCharged"_s);
    };
    check.accepted = [](FormModel &form, const data::Record &found) {
        const auto &piece = static_cast<const EQHeader &>(found);
        form.setValue(Line1, Text::clip(piece.Description).left(30));
        form.setValue(u"Comments", Text::clip(piece.Description).left(20));
        form.session().equipField = Text::clip(piece.EquipmentID);
    };
    return check;
}

CodeCheck jobCheck()
{
    CodeCheck check{.file = u"JCHeader"_s, .key = u"KeyJobID"_s, .lookup = u"BROWSEJCHEADER"_s};
    check.resolve = [](FormModel &form, const QString &typed) -> std::optional<QString> {
        return ChargeCodes::resolveJob(*form.session().company, typed, form.session().jobIdLength,
                                       [&] { return form.pick(u"SELECTJOBBYNAME"_s, typed); });
    };
    check.allowed = [](FormModel &form, const data::Record &found) {
        const auto &job = static_cast<const JCHeader &>(found);
        if (job.Active)
            return true;
        const int answer = form.prompter().ask(Message{
            u"Confirm Inactive Job Selection"_s,
            u"Job "_s + Text::clip(job.JobID) + u" has been marked inactive. Are you sure|"_s +
                u"you want to select this job?"_s,
            u"&Yes|&No"_s, 2, Message::Icon::Question});
        if (answer == 1)
            return true;
        form.setValue(u"JobID", QString());
        return false;
    };
    check.accepted = [](FormModel &form, const data::Record &found) {
        const auto &job = static_cast<const JCHeader &>(found);
        const QString name = Text::clip(job.Name);
        form.setValue(Line1, name.left(30));
        if (form.code(u"Comments").isEmpty())
            form.setValue(u"Comments", name.left(20));
        if (form.code(u"Location").isEmpty())
            form.setValue(u"Location", Text::clip(job.JobID).left(5));
        form.session().jobField = Text::clip(job.JobID);
    };
    return check;
}

CodeCheck costCodeCheck()
{
    CodeCheck check{.file = u"JCCost"_s,
                    .key = u"KeyJobCodeType"_s,
                    .lookup = u"BROWSEJCCOST"_s,
                    .codeField = u"CostCode"_s};
    check.beforeLookup = [](FormModel &form) { form.session().jobField = form.code(u"JobID"); };
    check.resolve = [](FormModel &form, const QString &typed) -> std::optional<QString> {
        return ChargeCodes::expandCostCode(typed, form.session().costCodeLength);
    };
    check.fill = [](const FormModel &form, data::Record &wanted) {
        ChargeCodes::fillCostCodeKey(static_cast<JCCost &>(wanted), form.code(u"JobID"),
                                     form.session().costCodeLength);
    };
    check.allowed = [](FormModel &form, const data::Record &found) {
        const auto &code = static_cast<const JCCost &>(found);
        if (!code.Inactive)
            return true;
        tell(form, u"Cannot Select Inactive Cost Code"_s,
             u"Cost Code "_s + Text::clip(code.CostCode) + u" - "_s + Text::clip(code.Description) +
                 u"|"_s + u"has been marked inactive."_s);
        form.setValue(u"CostCode", QString());
        return false;
    };
    check.accepted = [](FormModel &form, const data::Record &found) {
        data::Session &session = form.session();
        // A lookup that answered a change-order detail hands it over in TEST.
        form.setValue(ChangeOrderDetail, qint64(session.test.trimmed().toLongLong()));
        form.setValue(u"ChangeOrder", QString());
        session.test.clear();
        refreshChangeOrder(form);
        const auto &code = static_cast<const JCCost &>(found);
        if (detailIs(form, Job)) {
            const QString base = Text::clip(code.CostCode).left(session.costCodeLength);
            const ChargeCodes::CostCode baseCode = ChargeCodes::costCode(
                *session.company, form.code(u"JobID"), base, session.costCodeLength);
            if (baseCode.state != ChargeCodes::State::NotFound)
                form.setValue(u"GLAccount", Text::clip(baseCode.record.GLAccount));
        }
        form.setValue(Line2, Text::clip(code.Description).left(30));
    };
    return check;
}

static void validateCostCodeAgain(FormModel &form, const QString &code)
{
    static_cast<void>(form.edit(u"EQLB:CostCode", code));
}

static bool jobChosen(FormModel &form)
{
    if (!form.code(u"JobID").isEmpty())
        return true;
    tell(form, u"No Job Selected"_s, u"Please select a job before entering a change order."_s);
    return false;
}

// LOOKUPCHANGEORDER lists the job's change orders with their details and
// answers the detail in TEST, the change order in JOBFIELD and its cost code
// in REPORTFILTER; the log takes all three.
static std::optional<QString> lookUpChangeOrder(FormModel &form, const QString &typed)
{
    if (!jobChosen(form))
        return std::nullopt;
    data::Session &session = form.session();
    session.jobField = form.code(u"JobID");
    const std::optional<QString> chosen = form.pick(u"LOOKUPCHANGEORDER"_s, typed);
    if (!chosen)
        return std::nullopt;
    const qint64 detail = session.test.trimmed().toLongLong();
    const QString costCode = Text::clip(session.reportFilter);
    session.test.clear();
    session.jobField = form.code(u"JobID");
    if (costCode != form.code(u"CostCode") && form.edit(u"EQLB:CostCode", costCode))
        return std::nullopt;
    form.setValue(ChangeOrderDetail, detail);
    refreshChangeOrder(form);
    return Text::clip(*chosen);
}

CodeCheck changeOrderCheck()
{
    CodeCheck check{.file = u"JCCOH"_s,
                    .key = u"KeyJobChangeOrder"_s,
                    .lookup = u"LOOKUPCHANGEORDER"_s,
                    .codeField = u"ChangeOrder"_s};
    check.fill = [](const FormModel &form, data::Record &wanted) {
        wanted.setValue(u"JobID", form.code(u"JobID"));
    };
    check.lookUp = &lookUpChangeOrder;
    // The detail of the typed change order that has the log's cost code.
    check.resolve = [](FormModel &form, const QString &typed) -> std::optional<QString> {
        if (!jobChosen(form))
            return std::nullopt;
        if (form.code(u"CostCode").isEmpty())
            return lookUpChangeOrder(form, typed);
        data::Company &company = *form.session().company;
        const QString changeOrder = Text::clip(typed);
        data::KeyCursor headers = company.file<JCCOH>().scan(
            u"KeyJobChangeOrder", data::ScanOptions::equal({form.code(u"JobID")}));
        for (JCCOH header; headers.next(header);) {
            if (Text::clip(header.ChangeOrder) != changeOrder)
                continue;
            data::KeyCursor details = company.file<JCCOD>().scan(
                u"KeyJobChangeOrder", data::ScanOptions::equal({header.JobID, header.ChangeOrder}));
            for (JCCOD detail; details.next(detail);)
                if (Text::clip(detail.CostCode) == form.code(u"CostCode")) {
                    form.setValue(ChangeOrderDetail, qint64(detail.RecordID));
                    refreshChangeOrder(form);
                    return changeOrder;
                }
        }
        tell(form, u"Not Found"_s,
             u"No change orders were found for cost code "_s + form.code(u"CostCode") + u"."_s);
        form.setValue(u"ChangeOrder", QString());
        form.setValue(ChangeOrderDetail, qint64(0));
        form.setValue(ChangeOrderName, QString());
        return std::nullopt;
    };
    return check;
}

CodeCheck accountCheck()
{
    CodeCheck check{.file = u"GLMaster"_s, .key = u"KeyAccount"_s, .lookup = u"BROWSEGLMASTER"_s};
    check.allowed = [](FormModel &form, const data::Record &found) {
        const Systems settings = settingsOf(form.session());
        const QString account = Text::clip(static_cast<const GLMaster &>(found).Account);
        if (account.isEmpty() || Text::clip(settings.CurrentEarningsAccount) != account)
            return true;
        tell(form, u"Current Earnings Account Entered"_s,
             u"You have entered the account number which is |currently set up as the Current "
             u"Earnings account.  |This account CANNOT be posted to directly."_s,
             Message::Icon::Bell);
        form.setValue(u"GLAccount", QString());
        return false;
    };
    check.accepted = [](FormModel &form, const data::Record &found) {
        const auto &account = static_cast<const GLMaster &>(found);
        const QString description = Text::clip(account.Description);
        form.setValue(Line1, description.left(30));
        form.setValue(Line2, QString());
        if (form.code(u"Comments").isEmpty())
            form.setValue(u"Comments", description.left(20));
        const Systems settings = settingsOf(form.session());
        const std::optional<ChargeCodes::ControlAccount> control =
            ChargeCodes::controlAccount(settings, account.Account);
        if (!control)
            return;
        tell(form, u"Control Account Entered"_s,
             u"You have entered an account number which|is currently set up as a Control "
             u"Account|for "_s +
                 control->name + u".||"_s + u"If you post directly to this account, by-|"_s +
                 u"passing the "_s + control->ledger + u", |"_s +
                 u"you run the risk of losing the balance |"_s +
                 u"between the General Ledger and the |"_s + control->ledger + u"!"_s,
             Message::Icon::Bell);
    };
    return check;
}

CodeCheck categoryCheck()
{
    CodeCheck check{.file = u"EQCost"_s,
                    .key = u"KeyEquipmentID"_s,
                    .lookup = u"BROWSEEQCOST"_s,
                    .codeField = u"CostCategory"_s};
    check.beforeLookup = [](FormModel &form) { form.session().equipField = categoryOwner(form); };
    check.fill = [](const FormModel &form, data::Record &wanted) {
        wanted.setValue(u"EquipmentID", categoryOwner(form));
    };
    // The account charged is that of the category validated: the charged
    // equipment's for detail type Equipment, where the posting puts the cost.
    check.accepted = [](FormModel &form, const data::Record &found) {
        form.setValue(u"GLAccount", Text::clip(static_cast<const EQCost &>(found).ControlDebit));
        const QString description = categoryName(form);
        form.setValue(Line2, description.left(30));
        if (detailIs(form, Maintenance) && form.code(u"Comments").isEmpty() &&
            description != NotInDictionary)
            form.setValue(u"Comments", description.left(20));
    };
    return check;
}

CodeCheck employeeCheck()
{
    return {.file = u"PREmp"_s, .key = u"KeyEmployeeID"_s, .lookup = u"BROWSEPREMP"_s};
}

} // namespace qaveq::LogEntryChecks

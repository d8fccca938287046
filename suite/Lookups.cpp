#include "Lookups.h"

#include "Procedures.h"

#include "SiblingModules.h"
#include "SuiteWindows.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/IniManager.h"
#include "data/RequestScope.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/TextCase.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/PickList.h"
#include "runtime/widgets/QtFileChooser.h"

#include "core/Text.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QInputDialog>
#include <QTextStream>
#include <QUrl>
#include <QVBoxLayout>

#include <map>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

// The general ledger's account types, as lists show them.
const QStringList AccountTypeCodes{u"A"_s, u"L"_s, u"Q"_s, u"R"_s, u"E"_s};
const QStringList AccountTypeNames{u"Asset"_s, u"Liability"_s, u"Equity"_s, u"Revenue"_s,
                                   u"Expense"_s};

// Where the suite's files name a G/L account: an account named there may be
// neither deleted nor renumbered, or those records would point at nothing.
struct AccountUse
{
    QString file;
    QString field;
    QString what; // for the message
};

const QList<AccountUse> &accountUses()
{
    static const QList<AccountUse> uses{
        {u"GLTrans"_s, u"Account"_s, u"G/L transactions"_s},
        {u"Systems"_s, u"EquipmentExpenseAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"CurrentEarningsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"CashAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"APControlAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"ARControlAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"PayrollControlAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"EquipmentClearingAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"SubcontractsPayableAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"RetentionPayableAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"RetentionReceivableAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"LaborCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"MaterialCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"SubcontractCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"EquipmentCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"GeneralCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"BurdenCostsAccount"_s, u"the company settings"_s},
        {u"Systems"_s, u"JobIncomeAccount"_s, u"the company settings"_s},
        {u"JCCost"_s, u"GLAccount"_s, u"job cost codes"_s},
        {u"EQCode"_s, u"DefaultExpenseControl"_s, u"cost categories"_s},
        {u"EQCode"_s, u"DefaultContraExpenseControl"_s, u"cost categories"_s},
        {u"EQCost"_s, u"ControlDebit"_s, u"equipment cost categories"_s},
        {u"EQCost"_s, u"ControlCredit"_s, u"equipment cost categories"_s},
        {u"EQHeader"_s, u"DestinationAccount"_s, u"equipment"_s},
        {u"EQHeader"_s, u"AssetAccount"_s, u"equipment"_s},
        {u"EQHeader"_s, u"InternalIncomeControl"_s, u"equipment"_s},
        {u"EQHeader"_s, u"RentalIncomeControl"_s, u"equipment"_s},
        {u"EQLogB"_s, u"GLAccount"_s, u"unposted usage logs"_s},
        {u"EQLog"_s, u"GLAccount"_s, u"posted usage logs"_s},
    };
    return uses;
}

} // namespace

QStringList accountUsedBy(data::Company &company, const QString &account)
{
    QStringList places;
    for (const AccountUse &use : accountUses()) {
        const data::FileSchema *schema = company.catalog().find(use.file);
        if (!schema || places.contains(use.what))
            continue;
        data::ScanOptions options;
        options.filters = {data::Filter{use.field, data::Filter::Op::Equal, account}};
        options.fields = {use.field};
        const QString key = schema->keys.first().name;
        if (company.file(use.file).scan(key, options).count() > 0)
            places.append(use.what);
    }
    return places;
}

forms::FormDefinition accountForm()
{
    using forms::Control;
    using forms::ControlKind;
    forms::FormDefinition definition{
        .file = u"GLMaster"_s,
        .insertCaption = u"Adding a G/L Account"_s,
        .changeCaption = u"Changing a G/L Account"_s,
        .deleteCaption = u"Deleting a G/L Account"_s,
        .pages = {{.title = u"G/L Account"_s,
                   .groups = {{.rows = forms::column({
                                   {.prompt = u"Account"_s,
                                    .field = u"GLM:Account"_s,
                                    .picture = u"@s12"_s,
                                    .required = true},
                                   {.prompt = u"Description"_s,
                                    .field = u"GLM:Description"_s,
                                    .picture = u"@s30"_s,
                                    .required = true,
                                    .textCase = true},
                                   {.kind = ControlKind::DropList,
                                    .prompt = u"Account Type"_s,
                                    .field = u"GLM:AccountType"_s,
                                    .choices = {{u"Asset"_s, u"A"_s},
                                                {u"Liability"_s, u"L"_s},
                                                {u"Equity"_s, u"Q"_s},
                                                {u"Revenue"_s, u"R"_s},
                                                {u"Expense"_s, u"E"_s}}},
                                   {.kind = ControlKind::CheckBox,
                                    .prompt = u"Active"_s,
                                    .field = u"GLM:Active"_s},
                               })}}}},
        .refuse =
            [](data::Session &session, Prompter &prompter, data::Request) {
                if (!session.equipmentReadOnly)
                    return false;
                prompter.ask(Message::alert(
                    u"Insufficient Access"_s,
                    u"User "_s + session.userId +
                        u" has read only privileges|in the General Ledger module."_s));
                return true;
            },
    };
    definition.beforeSave = [](forms::FormModel &form) -> QString {
        const QString stored =
            Text::clip(std::get<QString>(form.session().buffer<GLMaster>().value(u"Account")));
        const bool renumbered =
            form.request() == data::Request::Change && form.code(u"Account") != stored;
        if (form.request() != data::Request::Delete && !renumbered)
            return {};
        const QStringList places = accountUsedBy(*form.session().company, stored);
        if (places.isEmpty())
            return {};
        return u"Account %1 is used by %2.|It cannot be %3 while they name it."_s.arg(
            stored, places.join(u", "_s),
            form.request() == data::Request::Delete ? u"deleted"_s : u"renumbered"_s);
    };
    return definition;
}

void UPDATEGLMASTER()
{
    runForm(accountForm(), qavgl());
}

forms::LookupPicker lookups(data::Session &session)
{
    forms::LookupPicker picker;
    picker.add(u"BROWSEGLMASTER"_s, forms::LookupPicker::list(session, GLMaster::fileSchema(),
                                                              u"Account"_s, &BROWSEGLMASTER));
    picker.add(u"BROWSEJCHEADER"_s, forms::LookupPicker::list(session, JCHeader::fileSchema(),
                                                              u"JobID"_s, &BROWSEJCHEADER));
    picker.add(u"EDITDATE"_s, [](const QString &current) -> std::optional<QString> {
        const std::optional<DayNumber> chosen =
            EDITDATE(SuiteDate::fromQDate(QDate::fromString(current.trimmed(), u"M/d/yyyy"_s)));
        if (!chosen)
            return std::nullopt;
        return SuiteDate::toQDate(*chosen).toString(u"M/d/yyyy"_s);
    });
    picker.add(u"BROWSEJCCOST"_s, forms::LookupPicker::list(session, JCCost::fileSchema(),
                                                            u"CostCode"_s, &BROWSEJCCOST));
    picker.add(u"BROWSEPRCERT"_s, forms::LookupPicker::list(session, PRCert::fileSchema(),
                                                            u"CertifiedID"_s, &BROWSEPRCERT));
    picker.add(u"BROWSEGLFISCAL"_s, forms::LookupPicker::list(session, GLFiscal::fileSchema(),
                                                              u"FiscalPeriod"_s, &BROWSEGLFISCAL));
    picker.add(u"BROWSEPREMP"_s, forms::LookupPicker::list(session, PREmp::fileSchema(),
                                                           u"EmployeeID"_s, &BROWSEPREMP));
    // Several jobs match what was typed: the user picks one ("ID  name").
    picker.add(u"SELECTJOBBYNAME"_s, [&session](const QString &typed) -> std::optional<QString> {
        data::RequestScope scope(session, data::Request::Select);
        session.buffer<JCHeader>() = JCHeader();
        session.buffer<JCHeader>().JobID = typed;
        SELECTJOBBYNAME();
        if (!scope.completed())
            return std::nullopt;
        return Text::clip(session.buffer<JCHeader>().JobID);
    });
    // The change order of the job in JOBFIELD; the detail and its cost code
    // stay in TEST and REPORTFILTER for the form.
    picker.add(u"LOOKUPCHANGEORDER"_s, [&session](const QString &typed) -> std::optional<QString> {
        data::RequestScope scope(session, data::Request::Select);
        session.buffer<JCCOD>() = JCCOD();
        session.buffer<JCCOD>().JobID = session.jobField;
        session.buffer<JCCOD>().ChangeOrder = typed;
        LOOKUPCHANGEORDER();
        if (!scope.completed())
            return std::nullopt;
        return Text::clip(session.jobField);
    });
    // A drop-down list the user keeps, by its name; nothing is chosen.
    picker.add(u"UPDATEDROPLIST"_s, [&session](const QString &list) -> std::optional<QString> {
        data::RequestScope scope(session, data::Request::None);
        session.buffer<DropList>().FieldName = list;
        UPDATEDROPLIST();
        return std::nullopt;
    });
    // An attachment's file is copied into the company's store; the form keeps
    // the stored name.
    picker.add(u"STOREIMAGEFILE"_s, [](const QString &current) -> std::optional<QString> {
        QtFileChooser chooser(QApplication::activeWindow());
        const QString chosen =
            chooser.choose(FileChooser::Purpose::Open, u"Attach a File"_s, current, {});
        if (chosen.isEmpty())
            return std::nullopt;
        return STOREIMAGEFILE(chosen);
    });
    return picker;
}

void BROWSEGLMASTER()
{
    runList({u"BROWSEGLMASTER"_s,
             u"General Ledger Accounts"_s,
             u"GLMaster"_s,
             {{u"by Account"_s, u"KeyAccount"_s, u"Account"_s}},
             {{u"Account"_s, u"GLM:Account"_s, u"@s12"_s, 110},
              {u"Description"_s, u"GLM:Description"_s, u"@s30"_s, 260},
              {u"Type"_s, u"GLM:AccountType"_s, u"@s1"_s, 80,
               [](const data::Record &account) {
                   const qsizetype at = AccountTypeCodes.indexOf(
                       std::get<QString>(account.value(u"AccountType")).trimmed());
                   return at < 0 ? std::get<QString>(account.value(u"AccountType"))
                                 : AccountTypeNames.at(at);
               }}},
             {},
             {},
             u"UPDATEGLMASTER"_s},
            qavgl(), [](const QString &) { UPDATEGLMASTER(); });
}

void BROWSEJCHEADER()
{
    runList({u"BROWSEJCHEADER"_s,
             u"Jobs"_s,
             u"JCHeader"_s,
             {{u"by Job ID"_s, u"KeyJobID"_s, u"JobID"_s}, {u"by Name"_s, u"KeyName"_s, u"Name"_s}},
             {{u"Job"_s, u"JCH:JobID"_s, u"@s10"_s, 90},
              {u"Name"_s, u"JCH:Name"_s, u"@s40"_s, 300},
              {u"Active"_s, u"JCH:Active"_s, u"@n1"_s, 55, {}, {}, true},
              {u"Closed"_s, u"JCH:Closed"_s, u"@n1"_s, 55, {}, {}, true}},
             {},
             {},
             {}},
            qavjc());
}

void BROWSEJCCOST()
{
    data::Session *session = data::Session::current();
    const QString job = session ? Text::clip(session->jobField) : QString();
    runList({u"BROWSEJCCOST"_s,
             u"Cost Codes for Job "_s + job,
             u"JCCost"_s,
             {{u"by Cost Code"_s, u"KeyJobCodeType"_s, u"CostCode"_s}},
             {{u"Cost Code"_s, u"JCC:CostCode"_s, u"@s14"_s, 110},
              {u"Type"_s, u"JCC:CostType"_s, u"@s1"_s, 45},
              {u"Description"_s, u"JCC:Description"_s, u"@s30"_s, 240},
              {u"Account"_s, u"JCC:GLAccount"_s, u"@s12"_s, 90},
              {u"Inactive"_s, u"JCC:Inactive"_s, u"@n1"_s, 60, {}, {}, true}},
             {job},
             {job},
             {}},
            qavjc());
}

// Takes the job in JOBFIELD; on completed returns the change-order detail
// number in TEST, the change order in JOBFIELD and the cost code in REPORTFILTER.
void LOOKUPCHANGEORDER()
{
    data::Session *session = data::Session::current();
    if (!session)
        return;
    const QString job = Text::clip(session->jobField);
    runList({u"LOOKUPCHANGEORDER"_s,
             u"Change Orders for Job "_s + job,
             u"JCCOD"_s,
             {{u"by Change Order"_s, u"KeyJobChangeOrder"_s, u"ChangeOrder"_s}},
             {{u"Change Order"_s, u"JCCOD:ChangeOrder"_s, u"@s14"_s, 110},
              {u"Cost Code"_s, u"JCCOD:CostCode"_s, u"@s14"_s, 100},
              {u"Description"_s, u"JCCOD:Description"_s, u"@s40"_s, 260},
              {u"Amount"_s, u"JCCOD:Amount"_s, u"@n-15.2"_s, 100}},
             {job},
             {job},
             {}},
            qavjc());
    if (session->globalResponse == data::Response::Completed) {
        const JCCOD &chosen = session->buffer<JCCOD>();
        session->test = QString::number(chosen.RecordID);
        session->jobField = chosen.ChangeOrder;
        session->reportFilter = chosen.CostCode;
    }
}

void SELECTJOBBYNAME()
{
    data::Session *session = data::Session::current();
    if (!session)
        return;
    session->globalResponse = data::Response::Cancelled;
    JCHeader &buffer = session->buffer<JCHeader>();
    const QList<JCHeader> found =
        FILLJOBSEARCHQ(buffer.Name.isEmpty() ? buffer.JobID : buffer.Name);
    QStringList items;
    for (const JCHeader &job : found)
        items.append(Text::clip(job.JobID) + u" - "_s + Text::clip(job.Name));
    // Called from a job field: the list opens just under it.
    const std::optional<int> chosen =
        pickNextTo(QApplication::focusWidget(), u"Select a Job"_s, items);
    if (!chosen)
        return;
    buffer = found[*chosen];
    session->globalResponse = data::Response::Completed;
}

void BROWSEGLFISCAL()
{
    runList({u"BROWSEGLFISCAL"_s,
             u"Fiscal Periods"_s,
             u"GLFiscal"_s,
             {{u"by Period"_s, u"KeyFiscalPeriodUp"_s, u"FiscalPeriod"_s}},
             {{u"Period"_s, u"GLF:FiscalPeriod"_s, u"@n4"_s, 70},
              {u"Label"_s, u"GLF:Label"_s, u"@s5"_s, 70},
              {u"Description"_s, u"GLF:Description"_s, u"@s30"_s, 220}},
             {},
             {},
             {}},
            qavgl());
}

void BROWSEPREMP()
{
    runList({u"BROWSEPREMP"_s,
             u"Employees"_s,
             u"PREmp"_s,
             {{u"by Employee"_s, u"KeyEmployeeID"_s, u"EmployeeID"_s}},
             {{u"Employee"_s, u"PRE:EmployeeID"_s, u"@n_6"_s, 80},
              {u"First Name"_s, u"PRE:FirstName"_s, u"@s20"_s, 160},
              {u"Last Name"_s, u"PRE:LastName"_s, u"@s25"_s, 180}},
             {},
             {},
             {}},
            qavpr());
}

void BROWSEPRCERT()
{
    runList({u"BROWSEPRCERT"_s,
             u"Certified Payroll IDs"_s,
             u"PRCert"_s,
             {{u"by Certified ID"_s, u"KeyCertifiedID"_s, u"CertifiedID"_s}},
             {{u"Certified ID"_s, u"PRC:CertifiedID"_s, u"@s8"_s, 100},
              {u"Description"_s, u"PRC:Description"_s, u"@s40"_s, 280}},
             {},
             {},
             {}},
            qavpr());
}

QString GETCASE(const QString &request)
{
    // Without an INI manager (before INIT) the choices last for the run.
    static std::map<QString, QString> forThisRun;
    data::IniManager *ini = qavmisc().iniManager();
    const QString field = request.mid(3);
    const QString code = request.left(3);
    if (code == u"000") {
        const QString stored = ini ? ini->fetch(u"Text Case"_s, field, u"DEF"_s).toString()
                                   : (forThisRun.count(field) ? forThisRun[field] : u"DEF"_s);
        return TextCase::fromCode(stored) ? stored : u"DEF"_s;
    }
    if (!TextCase::fromCode(code))
        return {};
    if (ini)
        ini->update(u"Text Case"_s, field, code);
    else
        forThisRun[field] = code;
    return code;
}

QString GETCOLUMNNAME(int number)
{
    QString name;
    for (int n = number; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

std::optional<DayNumber> EDITDATE(DayNumber date)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(u"Select a Date"_s);
    auto *calendar = new QCalendarWidget(&dialog);
    calendar->setGridVisible(true);
    if (const QDate current = SuiteDate::toQDate(date); current.isValid())
        calendar->setSelectedDate(current);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SuiteDate::fromQDate(calendar->selectedDate());
}

QString trainingFolder()
{
    data::Session *session = data::Session::current();
    return session && session->company ? QDir(session->company->folder()).filePath(u"videos"_s)
                                       : QString();
}

namespace {

// The video's file, whatever its kind; empty when the company has none.
QString trainingFile(const QString &name)
{
    const QDir folder(trainingFolder());
    const QStringList found = folder.entryList({name + u".*"_s}, QDir::Files);
    return found.isEmpty() ? QString() : folder.filePath(found.first());
}

} // namespace

bool trainingInstalled(const QString &name)
{
    return !trainingFile(name).isEmpty();
}

void PLAYTRAINING(const QString &name)
{
    const QDir folder(trainingFolder());
    const QString file = trainingFile(name);
    if (!file.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        return;
    prompterOf(qavmisc()).ask(
        Message{u"Training Video"_s,
                u"The training video \"%1\" is not installed.|Put it in %2 to watch it from "
                "here."_s.arg(name, folder.path()),
                u"&OK"_s, 1, Message::Icon::Information});
}

void UPDATEDROPLIST()
{
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return;
    const QString list = Text::clip(session->buffer<DropList>().FieldName);
    Prompter &prompter = prompterOf(qavmisc());
    data::Table &file = session->company->file<DropList>();
    const auto form = [session, list, &prompter, &file](const QString &) {
        DropList &entry = session->buffer<DropList>();
        session->globalResponse = data::Response::Cancelled;
        switch (session->globalRequest) {
        case data::Request::Insert: {
            bool ok = false;
            const QString value =
                QInputDialog::getText(QApplication::activeWindow(), u"Adding an Entry"_s,
                                      list + u":"_s, QLineEdit::Normal, {}, &ok)
                    .trimmed();
            if (!ok || value.isEmpty())
                return;
            DropList added;
            added.FieldName = list;
            added.Value = Text::left(value, 30);
            if (data::FileStatus status = file.insert(added); !status) {
                prompter.ask(
                    {u"Drop-down List"_s, status.error().text() + u" Inserting DropList"_s});
                return;
            }
            break;
        }
        case data::Request::Delete: {
            DropList stored = entry;
            if (!file.fetch(u"KeyFieldValue", stored))
                return;
            if (prompter.ask({u"Confirm Delete"_s,
                              u"Delete \"%1\" from the list?"_s.arg(Text::clip(stored.Value)),
                              u"&OK|&Cancel"_s, 2, Message::Icon::Exclamation}) != 1)
                return;
            if (data::FileStatus status = file.remove(stored); !status) {
                prompter.ask(
                    {u"Drop-down List"_s, status.error().text() + u" Deleting DropList"_s});
                return;
            }
            break;
        }
        default:
            return;
        }
        session->globalResponse = data::Response::Completed;
    };
    runList({u"UPDATEDROPLIST"_s,
             u"Drop-down List: "_s + list,
             u"DropList"_s,
             {{u"by Value"_s, u"KeyFieldValue"_s, u"Value"_s}},
             {{u"Value"_s, u"DPL:Value"_s, u"@s30"_s, 220},
              {u"Description"_s, u"DPL:Description"_s, u"@s60"_s, 300}},
             {list},
             {list},
             u"UPDATEDROPLIST"_s},
            qavmisc(), form);
}

} // namespace qaveq::suite

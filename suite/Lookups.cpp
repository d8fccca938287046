#include "Lookups.h"

#include "SiblingModules.h"
#include "SuiteWindows.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/TextCase.h"
#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/RecordForm.h"

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

// A flag column read as "Yes" or "No" rather than 1 or 0.
std::function<QString(const data::Record &)> yesNo(const QString &field)
{
    return [field](const data::Record &record) {
        return std::get<qint64>(record.value(field)) != 0 ? u"Yes"_s : u"No"_s;
    };
}

} // namespace

void UPDATEGLMASTER()
{
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return;
    using Control = RecordForm::Control;
    RecordForm::Definition definition{u"GLMaster"_s,
                                      u"Adding a G/L Account"_s,
                                      u"Changing a G/L Account"_s,
                                      u"Deleting a G/L Account"_s,
                                      {},
                                      &GETCASE,
                                      true};
    definition.controls = {
        Control::entry(u"Account"_s, u"GLM:Account"_s, u"@s12"_s, true),
        Control::entry(u"Description"_s, u"GLM:Description"_s, u"@s30"_s, true).withTextCase(),
        Control::dropList(u"Account Type"_s, u"GLM:AccountType"_s,
                          {u"Asset"_s, u"Liability"_s, u"Equity"_s, u"Revenue"_s, u"Expense"_s},
                          {u"A"_s, u"L"_s, u"Q"_s, u"R"_s, u"E"_s}),
        Control::checkBox(u"Active"_s, u"GLM:Active"_s),
    };
    runForm(definition, qavgl());
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
              {u"Active"_s, u"JCH:Active"_s, u"@n1"_s, 55, yesNo(u"Active"_s)},
              {u"Closed"_s, u"JCH:Closed"_s, u"@n1"_s, 55, yesNo(u"Closed"_s)}},
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
              {u"Inactive"_s, u"JCC:Inactive"_s, u"@n1"_s, 60}},
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

QList<JCHeader> FILLJOBSEARCHQ(const QString &text)
{
    QList<JCHeader> byId;
    QList<JCHeader> byName;
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return {};
    const QString wanted = text.trimmed();
    data::KeyCursor cursor = session->company->file<JCHeader>().scan(u"KeyJobID");
    JCHeader job;
    while (cursor.next(job)) {
        if (job.JobID.startsWith(wanted, Qt::CaseInsensitive))
            byId.append(job);
        else if (job.Name.contains(wanted, Qt::CaseInsensitive))
            byName.append(job);
    }
    return byId.isEmpty() ? byName : byId;
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
        items.append(Text::clip(job.JobID) + u"  "_s + Text::clip(job.Name));
    if (items.isEmpty())
        return;
    bool ok = false;
    const QString chosen = QInputDialog::getItem(QApplication::activeWindow(), u"Select a Job"_s,
                                                 u"Job:"_s, items, 0, false, &ok);
    if (!ok)
        return;
    buffer = found[items.indexOf(chosen)];
    session->globalResponse = data::Response::Completed;
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

void PLAYTRAINING(const QString &name)
{
    const QDir folder(trainingFolder());
    const QStringList found = folder.entryList({name + u".*"_s}, QDir::Files);
    if (!found.isEmpty() &&
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder.filePath(found.first()))))
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
            added.Value = value.left(30);
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

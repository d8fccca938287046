#include "Procedures.h"

#include "Lookups.h"
#include "SiblingModules.h"
#include "SuiteWindows.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/Transaction.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/OutputFile.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

using namespace Qt::StringLiterals;
using Field = qaveq::RecordForm::Control;

namespace qaveq::suite {

namespace {

data::Session *session()
{
    data::Session *current = data::Session::current();
    return current && current->company ? current : nullptr;
}

void tell(data::SuiteModule &module, const QString &caption, const QString &text)
{
    prompterOf(module).ask(Message{caption, text, u"&OK"_s, 1, Message::Icon::Information});
}

QString companyFolder(const QString &sub)
{
    data::Session *current = session();
    return current ? QDir(current->company->folder()).filePath(sub) : QString();
}

} // namespace

void UPDATEGLDEPR()
{
    data::Session *current = session();
    if (!current)
        return;
    const QString equipment = std::get<QString>(
        current->buffer(*current->company->catalog().find(u"GLDepr")).value(u"EquipmentID"));
    RecordForm::Definition definition{u"GLDepr"_s, u"Adding a Depreciation Entry"_s,
                                      u"Changing a Depreciation Entry"_s,
                                      u"Deleting a Depreciation Entry"_s};
    const auto money = [](const QString &prompt, const QString &field) {
        return Field::entry(prompt, field, u"@n-21.2"_s);
    };
    definition.controls = {Field::entry(u"Month"_s, u"GLDP:Date"_s, u"@d2"_s, true),
                           money(u"Straight Line Amount"_s, u"GLDP:SLAmount"_s),
                           money(u"Straight Line Value"_s, u"GLDP:SLValue"_s),
                           money(u"Sum of Years' Digits Amount"_s, u"GLDP:SYAmount"_s),
                           money(u"Sum of Years' Digits Value"_s, u"GLDP:SYValue"_s),
                           money(u"Declining Balance Amount"_s, u"GLDP:DDBAmount"_s),
                           money(u"Declining Balance Value"_s, u"GLDP:DDBValue"_s),
                           money(u"Custom Amount"_s, u"GLDP:UD1Amount"_s),
                           money(u"Custom Value"_s, u"GLDP:UD1Value"_s),
                           money(u"Actual Amount"_s, u"GLDP:ActualAmount"_s),
                           Field::entry(u"Posted to Period"_s, u"GLDP:FPPostedLabel"_s, u"@s5"_s),
                           Field::entry(u"G/L Transaction"_s, u"GLDP:GLTransID"_s, u"@n_7"_s)};
    definition.prime = [equipment](data::Record &row) { row.setValue(u"EquipmentID", equipment); };
    runForm(definition, qavgl());
}

int CREATEDEPRECIATIONBATCH()
{
    data::Session *current = session();
    if (!current)
        return 0;
    data::Company &company = *current->company;
    const data::Record &equipment = current->buffer(*company.catalog().find(u"EQHeader"));
    const QString id = Text::clip(std::get<QString>(equipment.value(u"EquipmentID")));
    const qint64 method = std::get<qint64>(equipment.value(u"DepreciationMethod"));
    const GLFiscal &period = current->buffer<GLFiscal>();
    if (id.isEmpty() || period.FiscalPeriod == 0) {
        tell(qavgl(), u"Depreciation Batch"_s,
             u"Choose the equipment and the fiscal period to post through."_s);
        return 0;
    }
    const QString amountField = method == 2   ? u"SYAmount"_s
                                : method == 3 ? u"DDBAmount"_s
                                : method == 4 ? u"UD1Amount"_s
                                              : u"SLAmount"_s;
    const QString expense = Text::clip(std::get<QString>(equipment.value(u"DestinationAccount")));
    const QString asset = Text::clip(std::get<QString>(equipment.value(u"AssetAccount")));

    data::Table &rows = company.file(u"GLDepr");
    data::Table &ledger = company.file<GLTrans>();
    data::Transaction transaction(company.database(), {u"GLDepr"_s, u"GLTrans"_s},
                                  std::chrono::seconds(5));
    if (!transaction.isActive()) {
        tell(qavgl(), u"Depreciation Batch"_s,
             transaction.error().text() + u"|Nothing was posted."_s);
        return 0;
    }
    int posted = 0;
    data::ScanOptions upTo;
    upTo.from = {id};
    upTo.to = {id, qint64(period.EndDate)};
    data::KeyCursor cursor = rows.scan(u"KeyEquipmentID", upTo);
    std::unique_ptr<data::Record> row = rows.schema().create();
    while (cursor.next(*row)) {
        if (std::get<qint64>(row->value(u"GLTransID")) != 0)
            continue;
        const Decimal amount = std::get<Decimal>(row->value(amountField));
        GLTrans debit;
        debit.JournalID = u"DEP"_s;
        debit.FiscalPeriod = period.FiscalPeriod;
        debit.TransDate = period.EndDate;
        debit.Account = expense;
        debit.CreditDebit = u"D"_s;
        debit.Amount = amount;
        debit.EquipmentID = id;
        debit.Description = u"Depreciation "_s + id;
        GLTrans credit = debit;
        credit.Account = asset;
        credit.CreditDebit = u"C"_s;
        if (data::FileStatus status = ledger.insert(debit); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Inserting GLTrans"_s);
            return 0; // the transaction rolls back: nothing half posted
        }
        credit.JournalNo = debit.JournalNo = debit.RecordID;
        if (data::FileStatus status = ledger.insert(credit); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Inserting GLTrans"_s);
            return 0;
        }
        row->setValue(u"ActualAmount", amount);
        row->setValue(u"FPPostedLabel", Text::cut(period.Label, 5));
        row->setValue(u"GLTransID", qint64(debit.RecordID));
        if (data::FileStatus status = rows.update(*row); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Saving GLDepr"_s);
            return 0;
        }
        ++posted;
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        tell(qavgl(), u"Depreciation Batch"_s, status.error().text());
        return 0;
    }
    return posted;
}

void UPDATENOTES()
{
    data::Session *current = session();
    if (!current)
        return;
    const data::Record &buffer = current->buffer(*current->company->catalog().find(u"Notes"));
    const QString owner = std::get<QString>(buffer.value(u"EntityID"));
    const QString type = std::get<QString>(buffer.value(u"EntityType"));
    const QString user = current->userId;
    RecordForm::Definition definition{
        u"Notes"_s, u"Adding a Note"_s, u"Changing a Note"_s, u"Deleting a Note"_s, {}, &GETCASE,
        true};
    definition.controls = {Field::entry(u"Date"_s, u"NOTE:Date"_s, u"@d2"_s),
                           Field::entry(u"Heading"_s, u"NOTE:Heading"_s, u"@s20"_s).withTextCase(),
                           Field::entry(u"Note"_s, u"NOTE:Note"_s, u"@s255"_s, true)};
    definition.prime = [owner, type, user](data::Record &note) {
        note.setValue(u"EntityID", owner);
        note.setValue(u"EntityType", type);
        note.setValue(u"UserID", user);
        note.setValue(u"Date", qint64(SuiteDate::fromQDate(QDate::currentDate())));
    };
    runForm(definition, qavmisc());
}

QString imageStoreFolder()
{
    return companyFolder(u"images"_s);
}

std::optional<QString> STOREIMAGEFILE(const QString &path)
{
    const QString folder = imageStoreFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(path).isFile())
        return std::nullopt;
    const QString stored =
        QUuid::createUuid().toString(QUuid::WithoutBraces) + u'-' + QFileInfo(path).fileName();
    if (!QFile::copy(path, QDir(folder).filePath(stored)))
        return std::nullopt;
    return stored;
}

bool EXTRACTIMAGEFILE(const QString &stored, const QString &target)
{
    QFile::remove(target);
    return QFile::copy(QDir(imageStoreFolder()).filePath(stored), target);
}

bool REMOVEIMAGEFILE(const QString &stored)
{
    return QFile::remove(QDir(imageStoreFolder()).filePath(stored));
}

void UPDATEIMAGES()
{
    data::Session *current = session();
    if (!current)
        return;
    const data::Record &buffer = current->buffer(*current->company->catalog().find(u"Images"));
    const QString type = std::get<QString>(buffer.value(u"Type"));
    const QString owner = std::get<QString>(buffer.value(u"StringID"));
    RecordForm::Definition definition{u"Images"_s, u"Adding an Attachment"_s,
                                      u"Changing an Attachment"_s, u"Deleting an Attachment"_s};
    definition.controls = {
        Field::entry(u"Description"_s, u"IMG:Caption"_s, u"@s50"_s, true),
        Field::entry(u"File Date"_s, u"IMG:FileDate"_s, u"@d2"_s),
        Field::dropList(u"Kind"_s, u"IMG:ImageType"_s,
                        {u"PDF"_s, u"Document"_s, u"Spreadsheet"_s, u"Presentation"_s, u"Text"_s,
                         u"Web Page"_s, u"Picture"_s, u"Other"_s},
                        {u"PDF"_s, u"DOC"_s, u"XL"_s, u"PPT"_s, u"TXT"_s, u"WebPage"_s, u"Bitmap"_s,
                         u"Other"_s}),
        Field::entry(u"File"_s, u"IMG:FileName"_s, u"@s250"_s, true)
            .withLookup([](const QString &current) -> std::optional<QString> {
                const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(),
                                                                    u"Attach a File"_s, current);
                if (chosen.isEmpty())
                    return std::nullopt;
                return STOREIMAGEFILE(chosen);
            })};
    definition.prime = [type, owner](data::Record &image) {
        image.setValue(u"Type", type);
        image.setValue(u"StringID", owner);
        image.setValue(u"FileDate", qint64(SuiteDate::fromQDate(QDate::currentDate())));
    };
    runForm(definition, qavmisc());
}

void UPDATELIMLIST(quint32 limitId, const QString &kind)
{
    data::Session *current = session();
    if (!current)
        return;
    data::Table &file = current->company->file<LimList>();
    const auto form = [current, &file, limitId, kind](const QString &) {
        current->globalResponse = data::Response::Cancelled;
        if (current->globalRequest == data::Request::Insert) {
            bool ok = false;
            const QString value =
                QInputDialog::getText(QApplication::activeWindow(), u"Adding to the List"_s,
                                      u"Value:"_s, QLineEdit::Normal, {}, &ok)
                    .trimmed();
            if (!ok || value.isEmpty())
                return;
            LimList entry;
            entry.FileName = u"EQLimits"_s;
            entry.LimitID = static_cast<qint32>(limitId);
            entry.Kind = kind;
            entry.Value = value.left(40);
            if (data::FileStatus status = file.insert(entry); !status)
                return tell(qavmisc(), u"List"_s, status.error().text() + u" Inserting LimList"_s);
        } else if (current->globalRequest == data::Request::Delete) {
            LimList &entry = current->buffer<LimList>();
            if (data::FileStatus status = file.remove(entry); !status)
                return tell(qavmisc(), u"List"_s, status.error().text() + u" Deleting LimList"_s);
        } else {
            return;
        }
        current->globalResponse = data::Response::Completed;
    };
    runList({u"UPDATELIMLIST"_s,
             u"List: "_s + kind,
             u"LimList"_s,
             {{u"in order"_s, u"KeyLimit"_s, {}}},
             {{u"Value"_s, u"LL:Value"_s, u"@s40"_s, 260}},
             {u"EQLimits"_s, qint64(limitId)},
             {u"EQLimits"_s, qint64(limitId)},
             u"UPDATELIMLIST"_s},
            qavmisc(), form);
}

void BROWSELIMLISTUD(quint32 limitId)
{
    UPDATELIMLIST(limitId, u"UD"_s);
}

bool USERDEFTEST(quint32 limitId, const QString &value)
{
    data::Session *current = session();
    if (!current)
        return true;
    data::ScanOptions options = data::ScanOptions::equal({u"EQLimits"_s, qint64(limitId)});
    options.filters = {data::Filter{u"LL:Kind"_s, data::Filter::Op::Equal, u"UD"_s}};
    data::KeyCursor cursor = current->company->file<LimList>().scan(u"KeyLimit", options);
    LimList entry;
    bool limited = false;
    while (cursor.next(entry)) {
        limited = true;
        if (Text::clip(entry.Value).compare(Text::clip(value), Qt::CaseInsensitive) == 0)
            return true;
    }
    return !limited;
}

bool REPORTEXPORT(const QStringList &lines)
{
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), u"Export This Report"_s, {},
                                     u"Text for a spreadsheet (*.txt *.csv)"_s);
    if (path.isEmpty())
        return false;
    const QString error = OutputFile::write(path, (lines.join(u'\n') + u'\n').toUtf8());
    if (!error.isEmpty()) {
        tell(qavmisc(), u"Export This Report"_s, error);
        return false;
    }
    return true;
}

std::optional<QString> PREPOSTBACKUP()
{
    data::Session *current = session();
    if (!current)
        return std::nullopt;
    data::Database &database = current->company->database();
    if (database.dialect() != data::Dialect::SQLite) {
        tell(
            qavmisc(), u"Backup"_s,
            u"This company's data is kept on a PostgreSQL server.|Back it up there (pg_dump) before posting."_s);
        return std::nullopt;
    }
    const QString folder = companyFolder(u"backups"_s);
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(
        u"company-%1.sqlite"_s.arg(QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s)));
    QSqlQuery query(database.connection());
    query.prepare(u"VACUUM INTO ?"_s);
    query.addBindValue(target);
    if (!query.exec()) {
        tell(qavmisc(), u"Backup"_s,
             u"The backup could not be made: "_s + database.fail(query.lastError(), {}).text());
        return std::nullopt;
    }
    return target;
}

void POSTINGCONTROL()
{
    // The posting run comes with the usage-log batches; until then nothing is
    // posted, and POSTTYPE is left as it was so no caller takes it for done.
    tell(qavmisc(), u"Posting"_s,
         u"The posting run is not available in this version.|Nothing was posted."_s);
}

void OVBROWSEGLJOURNAL()
{
    data::Session *current = session();
    if (!current)
        return;
    const GLTrans &line = current->buffer<GLTrans>();
    ListWindow::Definition definition{
        u"OVBROWSEGLJOURNAL"_s,
        u"Journal %1 %2"_s.arg(Text::clip(line.JournalID)).arg(line.JournalNo),
        u"GLTrans"_s,
        {{u"in order"_s, u"KeyRecordID"_s, {}}},
        {{u"Line"_s, u"GLT:RecordID"_s, u"@n_7"_s, 70},
         {u"Date"_s, u"GLT:TransDate"_s, u"@d2"_s, 90},
         {u"Account"_s, u"GLT:Account"_s, u"@s12"_s, 90},
         {u"D/C"_s, u"GLT:CreditDebit"_s, u"@s1"_s, 40},
         {u"Amount"_s, u"GLT:Amount"_s, u"@n-15.2"_s, 110},
         {u"Description"_s, u"GLT:Description"_s, u"@s60"_s, 300}}};
    ListWindow window(definition, *current, prompterOf(qavgl()), {}, QApplication::activeWindow());
    window.model().setFilters(
        {data::Filter{u"GLT:JournalID"_s, data::Filter::Op::Equal, line.JournalID},
         data::Filter{u"GLT:JournalNo"_s, data::Filter::Op::Equal, qint64(line.JournalNo)}});
    window.model().reload();
    window.run();
}

void OVVIEWEQHEADER()
{
    data::Session *current = session();
    if (!current || !current->company->catalog().find(u"EQHeader"))
        return;
    current->globalRequest = data::Request::View;
    RecordForm::Definition definition{u"EQHeader"_s, {}, {}, {}};
    definition.controls = {Field::entry(u"Equipment ID"_s, u"EQH:EquipmentID"_s, u"@s10"_s),
                           Field::entry(u"Description"_s, u"EQH:Description"_s, u"@s40"_s),
                           Field::entry(u"Make"_s, u"EQH:Make"_s, u"@s20"_s),
                           Field::entry(u"Model"_s, u"EQH:Model"_s, u"@s20"_s),
                           Field::entry(u"Year"_s, u"EQH:Year"_s, u"@n_4"_s),
                           Field::entry(u"Location"_s, u"EQH:Location"_s, u"@s10"_s),
                           Field::checkBox(u"Active"_s, u"EQH:Active"_s)};
    runForm(definition, qavmisc());
}

void OVVIEWTRANSACTION()
{
    data::Session *current = session();
    if (!current)
        return;
    current->globalRequest = data::Request::View;
    RecordForm::Definition definition{u"GLTrans"_s, {}, {}, {}};
    definition.controls = {Field::entry(u"Journal"_s, u"GLT:JournalID"_s, u"@s3"_s),
                           Field::entry(u"Journal Number"_s, u"GLT:JournalNo"_s, u"@n_7"_s),
                           Field::entry(u"Date"_s, u"GLT:TransDate"_s, u"@d2"_s),
                           Field::entry(u"Account"_s, u"GLT:Account"_s, u"@s12"_s),
                           Field::entry(u"Debit/Credit"_s, u"GLT:CreditDebit"_s, u"@s1"_s),
                           Field::entry(u"Amount"_s, u"GLT:Amount"_s, u"@n-15.2"_s),
                           Field::entry(u"Job"_s, u"GLT:JobID"_s, u"@s10"_s),
                           Field::entry(u"Cost Code"_s, u"GLT:CostCode"_s, u"@s14"_s),
                           Field::entry(u"Description"_s, u"GLT:Description"_s, u"@s60"_s)};
    runForm(definition, qavgl());
}

void PDFOPTIONS()
{
    data::IniManager *ini = qavmisc().iniManager();
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(u"PDF Options"_s);
    data::Session *current = session();
    auto *folder = new QLineEdit(current ? current->pdfPath : QString(), &dialog);
    folder->setMinimumWidth(320);
    auto *author =
        new QLineEdit(ini ? ini->fetch(u"PDF"_s, u"Author"_s).toString() : QString(), &dialog);
    auto *pages = new QSpinBox(&dialog);
    pages->setRange(0, 9999);
    pages->setSpecialValueText(u"one file"_s);
    pages->setValue(ini ? ini->fetch(u"PDF"_s, u"PagesPerFile"_s, 0).toInt() : 0);
    auto *form = new QFormLayout(&dialog);
    form->addRow(u"PDF folder:"_s, folder);
    form->addRow(u"Author:"_s, author);
    form->addRow(u"Pages per file:"_s, pages);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() == QDialog::Accepted && ini) {
        ini->update(u"PDF"_s, u"Folder"_s, folder->text().trimmed());
        if (current)
            current->pdfPath = folder->text().trimmed();
        ini->update(u"PDF"_s, u"Author"_s, author->text());
        ini->update(u"PDF"_s, u"PagesPerFile"_s, pages->value());
    }
}

void LIMITPRINTNOTES()
{
    tell(qavmisc(), u"Print Notes"_s,
         u"Printing notes comes with the report output of this system."_s);
}

} // namespace qaveq::suite

#include "Procedures.h"

#include "Lookups.h"
#include "SiblingModules.h"
#include "SuiteWindows.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/widgets/DialogFrame.h"
#include "runtime/widgets/FileDialogFolder.h"
#include "runtime/widgets/QtFileChooser.h"

#include "core/Clock.h"
#include "core/OutputFile.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

void UPDATEGLDEPR()
{
    data::Session *current = session();
    if (!current)
        return;
    const QString equipment = std::get<QString>(
        current->buffer(*current->company->catalog().find(u"GLDepr")).value(u"EquipmentID"));
    const auto money = [](const QString &prompt, const QString &field) {
        return forms::Control{.prompt = prompt, .field = field, .picture = u"@n-21.2"_s};
    };
    // The computed columns belong to the schedule calculation: shown, never typed.
    const auto computed = [](const QString &prompt, const QString &field) {
        return forms::Control{.kind = forms::ControlKind::Display,
                              .prompt = prompt,
                              .field = field,
                              .picture = u"@n-21.2"_s};
    };
    forms::FormDefinition definition{
        .file = u"GLDepr"_s,
        .insertCaption = u"Adding a Depreciation Entry"_s,
        .changeCaption = u"Changing a Depreciation Entry"_s,
        .deleteCaption = u"Deleting a Depreciation Entry"_s,
        .pages = {{.title = u"Depreciation Entry"_s,
                   .groups = {{.rows = forms::column({
                                   {.prompt = u"Month"_s,
                                    .field = u"GLDP:Date"_s,
                                    .picture = u"@d2"_s,
                                    .required = true},
                                   computed(u"Straight Line Amount"_s, u"GLDP:SLAmount"_s),
                                   computed(u"Straight Line Value"_s, u"GLDP:SLValue"_s),
                                   computed(u"Sum of Years' Digits Amount"_s, u"GLDP:SYAmount"_s),
                                   computed(u"Sum of Years' Digits Value"_s, u"GLDP:SYValue"_s),
                                   computed(u"Declining Balance Amount"_s, u"GLDP:DDBAmount"_s),
                                   computed(u"Declining Balance Value"_s, u"GLDP:DDBValue"_s),
                                   money(u"Custom Amount"_s, u"GLDP:UD1Amount"_s),
                                   money(u"Custom Value"_s, u"GLDP:UD1Value"_s),
                                   money(u"Actual Amount"_s, u"GLDP:ActualAmount"_s),
                                   {.prompt = u"Posted to Period"_s,
                                    .field = u"GLDP:FPPostedLabel"_s,
                                    .picture = u"@s5"_s},
                                   {.prompt = u"G/L Transaction"_s,
                                    .field = u"GLDP:GLTransID"_s,
                                    .picture = u"@n_7"_s},
                               })}}}},
    };
    definition.prime = [equipment](forms::FormModel &row) {
        row.setValue(u"EquipmentID", equipment);
    };
    runForm(definition, qavgl());
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
    forms::FormDefinition definition{
        .file = u"Notes"_s,
        .insertCaption = u"Adding a Note"_s,
        .changeCaption = u"Changing a Note"_s,
        .deleteCaption = u"Deleting a Note"_s,
        .pages =
            {{.title = u"Note"_s,
              .groups = {{.rows = forms::column({
                              {.prompt = u"Date"_s, .field = u"NOTE:Date"_s, .picture = u"@d2"_s},
                              {.prompt = u"Heading"_s,
                               .field = u"NOTE:Heading"_s,
                               .picture = u"@s20"_s,
                               .textCase = true},
                              {.prompt = u"Note"_s,
                               .field = u"NOTE:Note"_s,
                               .picture = u"@s255"_s,
                               .required = true},
                          })}}}},
    };
    definition.prime = [owner, type, user](forms::FormModel &note) {
        note.setValue(u"EntityID", owner);
        note.setValue(u"EntityType", type);
        note.setValue(u"UserID", user);
        note.setValue(u"Date", qint64(SuiteDate::fromQDate(note.clock().today())));
    };
    runForm(definition, qavmisc());
}

void UPDATEIMAGES()
{
    data::Session *current = session();
    if (!current)
        return;
    const data::Record &buffer = current->buffer(*current->company->catalog().find(u"Images"));
    const QString type = std::get<QString>(buffer.value(u"Type"));
    const QString owner = std::get<QString>(buffer.value(u"StringID"));
    QList<forms::Choice> kinds;
    const QStringList texts{u"PDF"_s,  u"Document"_s, u"Spreadsheet"_s, u"Presentation"_s,
                            u"Text"_s, u"Web Page"_s, u"Picture"_s,     u"Other"_s};
    const QStringList codes{u"PDF"_s, u"DOC"_s,     u"XL"_s,     u"PPT"_s,
                            u"TXT"_s, u"WebPage"_s, u"Bitmap"_s, u"Other"_s};
    for (int i = 0; i < texts.size(); ++i)
        kinds.append({texts[i], codes[i]});
    forms::FormDefinition definition{
        .file = u"Images"_s,
        .insertCaption = u"Adding an Attachment"_s,
        .changeCaption = u"Changing an Attachment"_s,
        .deleteCaption = u"Deleting an Attachment"_s,
        .pages = {{.title = u"Attachment"_s,
                   .groups = {{.rows = forms::column({
                                   {.prompt = u"Description"_s,
                                    .field = u"IMG:Caption"_s,
                                    .picture = u"@s50"_s,
                                    .required = true},
                                   {.prompt = u"File Date"_s,
                                    .field = u"IMG:FileDate"_s,
                                    .picture = u"@d2"_s},
                                   {.kind = forms::ControlKind::DropList,
                                    .prompt = u"Kind"_s,
                                    .field = u"IMG:ImageType"_s,
                                    .choices = kinds},
                                   {.prompt = u"File"_s,
                                    .field = u"IMG:FileName"_s,
                                    .picture = u"@s250"_s,
                                    .required = true,
                                    .pick = u"STOREIMAGEFILE"_s},
                               })}}}},
    };
    definition.prime = [type, owner](forms::FormModel &image) {
        image.setValue(u"Type", type);
        image.setValue(u"StringID", owner);
        image.setValue(u"FileDate", qint64(SuiteDate::fromQDate(image.clock().today())));
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
            entry.Value = Text::left(value, 40);
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

bool REPORTEXPORT(const QStringList &lines, const QString &title)
{
    // Offered under the report's title in the user's PDF folder (or where the
    // user last saved a file).
    data::Session *current = session();
    const QString folder =
        current && !current->pdfPath.isEmpty() ? current->pdfPath : FileDialogFolder::documents();
    QString name = title.trimmed().isEmpty() ? u"Report"_s : title.trimmed();
    name.replace(u'/', u'-');
    const QString path = QtFileChooser(QApplication::activeWindow())
                             .choose(FileChooser::Purpose::Save, u"Export This Report"_s,
                                     QDir(folder).filePath(name + u".txt"_s),
                                     u"Text for a spreadsheet (*.txt *.csv)"_s);
    if (path.isEmpty())
        return false;
    const QString error = OutputFile::write(path, (lines.join(u'\n') + u'\n').toUtf8());
    if (!error.isEmpty()) {
        tell(qavmisc(), u"Export This Report"_s, error);
        return false;
    }
    tell(qavmisc(), u"Export This Report"_s, u"Export written to %1"_s.arg(path));
    return true;
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
    const forms::FormDefinition definition{
        .file = u"EQHeader"_s,
        .pages =
            {{.title = u"Equipment"_s,
              .groups =
                  {{.rows = forms::column({
                        {.prompt = u"Equipment ID"_s,
                         .field = u"EQH:EquipmentID"_s,
                         .picture = u"@s10"_s},
                        {.prompt = u"Description"_s,
                         .field = u"EQH:Description"_s,
                         .picture = u"@s40"_s},
                        {.prompt = u"Make"_s, .field = u"EQH:Make"_s, .picture = u"@s20"_s},
                        {.prompt = u"Model"_s, .field = u"EQH:Model"_s, .picture = u"@s20"_s},
                        {.prompt = u"Year"_s, .field = u"EQH:Year"_s, .picture = u"@n_4"_s},
                        {.prompt = u"Location"_s, .field = u"EQH:Location"_s, .picture = u"@s10"_s},
                        {.kind = forms::ControlKind::CheckBox,
                         .prompt = u"Active"_s,
                         .field = u"EQH:Active"_s},
                    })}}}},
    };
    runForm(definition, qavmisc());
}

void OVVIEWTRANSACTION()
{
    data::Session *current = session();
    if (!current)
        return;
    current->globalRequest = data::Request::View;
    const auto entry = [](const QString &prompt, const QString &field, const QString &picture) {
        return forms::Control{.prompt = prompt, .field = field, .picture = picture};
    };
    const forms::FormDefinition definition{
        .file = u"GLTrans"_s,
        .pages = {{.title = u"Transaction"_s,
                   .groups = {{.rows = forms::column({
                                   entry(u"Journal"_s, u"GLT:JournalID"_s, u"@s3"_s),
                                   entry(u"Journal Number"_s, u"GLT:JournalNo"_s, u"@n_7"_s),
                                   entry(u"Date"_s, u"GLT:TransDate"_s, u"@d2"_s),
                                   entry(u"Account"_s, u"GLT:Account"_s, u"@s12"_s),
                                   entry(u"Debit/Credit"_s, u"GLT:CreditDebit"_s, u"@s1"_s),
                                   entry(u"Amount"_s, u"GLT:Amount"_s, u"@n-15.2"_s),
                                   entry(u"Job"_s, u"GLT:JobID"_s, u"@s10"_s),
                                   entry(u"Cost Code"_s, u"GLT:CostCode"_s, u"@s14"_s),
                                   entry(u"Description"_s, u"GLT:Description"_s, u"@s60"_s),
                               })}}}},
    };
    runForm(definition, qavgl());
}

void PDFOPTIONS()
{
    data::Session *current = session();
    if (!current)
        return;
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(u"PDF Options"_s);
    useDialogFrame(&dialog);
    auto *folder = new QLineEdit(current->pdfPath, &dialog);
    folder->setMinimumWidth(320);
    auto *browse = new QPushButton(u"&Browse..."_s, &dialog);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, folder] {
        const QString chosen =
            QFileDialog::getExistingDirectory(&dialog, u"PDF Folder"_s, folder->text());
        if (!chosen.isEmpty())
            folder->setText(chosen);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(folder, 1);
    row->addWidget(browse);
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(u"Reports offer their PDF files in this folder; it is yours alone, "
                            "kept with your e-mail settings."_s,
                            &dialog));
    form->addRow(u"PDF &folder:"_s, row);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString chosen = folder->text().trimmed();
    if (!data::IniManager(current->userSettingsFile()).update(u"PDF"_s, u"Folder"_s, chosen)) {
        tell(qavmisc(), u"PDF Options"_s,
             u"%1 cannot be written.|The folder is used until you sign off."_s.arg(
                 current->userSettingsFile()));
    }
    current->pdfPath = chosen.isEmpty() ? current->pdfPath : chosen;
}

} // namespace qaveq::suite

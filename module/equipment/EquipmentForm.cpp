#include "EquipmentForm.h"
#include "EquipmentFormParts.h"

#include "EquipmentRules.h"

#include "common/ReadOnlyAccess.h"
#include "records/EQHeader.h"
#include "records/Images.h"
#include "records/UserDef.h"

#include "suite/Services.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QDir>
#include <QSet>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentForm {

namespace {

// The settings file of the workstation that keeps the wizard's choice.
QString setupFile(const data::Session &session)
{
    return QDir(session.suiteIniFolder()).filePath(u"TQSetup.ini"_s);
}

// Each user's own choice: users sharing a workstation do not inherit it.
QString wizardKey(const data::Session &session)
{
    return u"EquipmentEntryWizard_"_s + session.userId.trimmed().toUpper();
}

// The prompts of the fifteen user-defined values, from the UserDef record
// "EQHeader", which is made when it is missing.
void readPrompts(FormModel &form)
{
    data::Table &file = form.session().company->file<UserDef>();
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    if (const data::FileStatus status = file.fetch(u"KeyFile", prompts); !status) {
        if (status.error().code != data::FileErrorCode::RecordNotFound) {
            form.prompter().ask(
                Message{u"User Defined"_s, status.error().text() + u" Getting UserDef."_s});
        } else if (!file.prime(prompts)) {
            form.prompter().ask(Message{u"User Defined"_s, u"Error Priming UserDef"_s});
        } else if (prompts.FileName = u"EQHeader"_s; !file.insert(prompts)) {
            form.prompter().ask(Message{u"User Defined"_s, u"Error Adding UserDef"_s});
        }
    }
    for (int i = 1; i <= 15; ++i)
        form.setValue(u"LOC:U%1"_s.arg(i), prompts.value(u"U%1"_s.arg(i)));
}

void savePrompts(FormModel &form)
{
    data::Table &file = form.session().company->file<UserDef>();
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    if (!file.fetch(u"KeyFile", prompts))
        return;
    bool changed = false;
    for (int i = 1; i <= 15; ++i) {
        const QString field = u"U%1"_s.arg(i);
        const data::FieldValue typed = form.value(u"LOC:"_s + field);
        changed = changed || prompts.value(field) != typed;
        prompts.setValue(field, typed);
    }
    if (changed)
        if (const data::FileStatus status = file.update(prompts); !status)
            form.prompter().ask(
                Message{u"User Defined"_s, status.error().text() + u" Saving UserDef"_s});
}

// The photograph: the Images record of type "Equipment" of the equipment.
Images photographRecord(data::Company &company, const QString &equipmentId, bool *found)
{
    Images photo;
    data::ScanOptions options = data::ScanOptions::equal({u"Equipment"_s, equipmentId});
    data::KeyCursor cursor = company.file<Images>().scan(u"KeyTypeStringID", options);
    *found = cursor.next(photo);
    return photo;
}

QString storedPath(const QString &stored)
{
    return stored.isEmpty() ? QString() : QDir(suite::imageStoreFolder()).filePath(stored);
}

void savePhotograph(FormModel &form, const QString &opened)
{
    const QString chosen = form.code(PhotoFile);
    if (chosen == opened || chosen.isEmpty())
        return;
    data::Company &company = *form.session().company;
    const std::optional<QString> stored = suite::STOREIMAGEFILE(chosen);
    if (!stored) {
        form.prompter().ask(
            Message::alert(u"Equipment Photograph"_s,
                           u"%1 could not be copied into the image store."_s.arg(chosen)));
        return;
    }
    bool found = false;
    Images photo = photographRecord(company, form.code(u"EquipmentID"), &found);
    photo.Caption = u"Equipment Photograph"_s;
    photo.FileName = *stored;
    if (found) {
        if (const data::FileStatus status = company.file<Images>().update(photo); !status)
            form.prompter().ask(
                Message{u"Equipment Photograph"_s, status.error().text() + u" Saving Images"_s});
        return;
    }
    photo.Type = u"Equipment"_s;
    photo.StringID = form.code(u"EquipmentID");
    photo.ImageType = u"Bitmap"_s;
    photo.FileDate = SuiteDate::fromQDate(form.clock().today());
    if (const data::FileStatus status = company.file<Images>().insert(photo); !status)
        form.prompter().ask(
            Message{u"Equipment Photograph"_s, status.error().text() + u" Inserting Images"_s});
}

bool hasAttachments(data::Company &company, const QString &equipmentId)
{
    return company.file<Images>()
               .scan(u"KeyTypeStringID", data::ScanOptions::equal({u"EQHeader"_s, equipmentId}))
               .count() > 0;
}

forms::Page photographPage()
{
    return {
        .title = u"&Photograph"_s,
        .helpTopic = Topic + u"#ec_photograph_tab"_s,
        .groups = {{.rows = {{{{.kind = ControlKind::Custom, .field = PhotoPart}}},
                             {{{.prompt = u"Image File"_s,
                                .field = PhotoFile,
                                .picture = u"@s60"_s,
                                .pick = u"PHOTOFILE"_s}}}}}},
    };
}

forms::Page attachmentsPage()
{
    return {
        .title = u"Attachments"_s,
        .helpTopic = Topic,
        .groups = {{.rows = {{{{.kind = ControlKind::Custom, .field = AttachmentsPart}}}}}},
    };
}

QList<forms::FormValue> formValues()
{
    QList<forms::FormValue> values{
        {.name = u"LOC:OperatorName"_s, .width = 50},
        {.name = PhotoFile, .width = 250},
        {.name = u"LOC:FiscalPeriod"_s, .type = data::FieldType::Integer},
        {.name = u"LOC:ScheduleRevision"_s, .type = data::FieldType::Integer},
        {.name = u"LOC:EditPrompts"_s, .type = data::FieldType::Integer},
    };
    for (int i = 1; i <= 15; ++i)
        values.append({.name = u"LOC:U%1"_s.arg(i), .width = 40});
    return values;
}

} // namespace

const EQHeader &equipmentOf(const FormModel &form)
{
    return static_cast<const EQHeader &>(form.record());
}

QString money(const Decimal &value, const QString &picture)
{
    return Picture::parse(picture).format(value).trimmed();
}

forms::CodeCheck accountCheck()
{
    return {.file = u"GLMaster"_s, .key = u"KeyAccount"_s, .lookup = u"BROWSEGLMASTER"_s};
}

Control entry(const QString &prompt, const QString &field, const QString &picture)
{
    return {.prompt = prompt, .field = field, .picture = picture};
}

Control account(const QString &prompt, const QString &field)
{
    return {.prompt = prompt, .field = field, .picture = u"@s10"_s, .code = accountCheck()};
}

Control button(const QString &text, std::function<void(FormModel &)> action, bool whileViewing)
{
    return {.kind = ControlKind::Button,
            .prompt = text,
            .enabledWhen =
                [whileViewing](const FormModel &form) { return whileViewing || form.isEditable(); },
            .onChange = std::move(action)};
}

forms::FormDefinition definition(data::Session &session, Actions actions)
{
    // Opened from the general ledger, the equipment is a fixed asset.
    const bool fixedAsset = Text::clip(session.equipField) == u"GL";
    if (fixedAsset)
        session.equipField.clear();
    const QString thing = fixedAsset ? u"Fixed Asset"_s : u"Equipment"_s;
    auto tagged = std::make_shared<QSet<qint32>>();
    auto openedPhoto = std::make_shared<QString>();
    forms::FormDefinition form{
        .file = u"EQHeader"_s,
        .insertCaption = (fixedAsset ? u"Adding a "_s : u"Adding an "_s) + thing + u" Record"_s,
        .changeCaption = u"Changing a"_s + (fixedAsset ? u" "_s : u"n "_s) + thing + u" Record"_s,
        .icon = fixedAsset ? u"~gl.ico"_s : QString(),
        .pages = {generalPage(), fixedAssetPage(actions), costCategoriesPage(*session.company),
                  serviceSchedulePage(), photographPage(), notesPage(tagged, actions),
                  attachmentsPage()},
        .values = formValues(),
        .derived = {{.from = {u"EQH:OperatorEmployeeID"_s},
                     .to = u"LOC:OperatorName"_s,
                     .compute =
                         [](const FormModel &form) {
                             return data::FieldValue(operatorName(form));
                         }}},
    };
    const QString viewCaption =
        (fixedAsset ? u"Viewing a "_s : u"Viewing an "_s) + thing + u" Record"_s;
    form.captionOf = [insert = form.insertCaption, change = form.changeCaption,
                      viewCaption](const FormModel &model) {
        const QString suffix = u"  ("_s + model.code(u"Description") + u')';
        switch (model.request()) {
        case data::Request::Insert:
            return insert + u"  (New)"_s;
        case data::Request::Change:
            return change + suffix;
        case data::Request::Delete:
            return suffix.trimmed();
        default:
            return viewCaption + suffix;
        }
    };
    // A read-only user may look at equipment: a change opens for viewing.
    form.viewOnly = [](const data::Session &session) { return session.equipmentReadOnly; };
    form.refuse = [](data::Session &session, Prompter &prompter, data::Request) {
        return refuseReadOnly(session, prompter);
    };
    form.refuseSave = [](data::Session &session, Prompter &prompter, data::Request) {
        return refuseReadOnly(session, prompter);
    };
    form.opened = [openedPhoto](FormModel &model) {
        data::Company &company = *model.session().company;
        model.setValue(u"LOC:OperatorName", operatorName(model));
        bool found = false;
        const Images photo = photographRecord(company, model.code(u"EquipmentID"), &found);
        *openedPhoto = found ? storedPath(Text::clip(photo.FileName)) : QString();
        model.setValue(PhotoFile, *openedPhoto);
        const QList<Choice> periods = fiscalPeriods(company);
        if (!periods.isEmpty())
            model.setValue(u"LOC:FiscalPeriod", periods.first().value.toLongLong());
        readPrompts(model);
    };
    form.finalCheck = [](FormModel &model) -> std::optional<forms::Refusal> {
        if (model.code(u"Description").isEmpty())
            return forms::Refusal{Message::alert(u"Required Field"_s, u"Description is Required"_s),
                                  u"EQH:Description"_s};
        if (model.code(u"EquipmentID").isEmpty())
            return forms::Refusal{
                Message::alert(u"Required Field"_s, u"Equipment ID is Required"_s),
                u"EQH:EquipmentID"_s};
        return std::nullopt;
    };
    form.beforeSave = [](FormModel &model) -> QString {
        if (model.request() == data::Request::Delete)
            return {};
        const QString id = model.code(u"EquipmentID");
        model.setValue(u"Attachments",
                       qint64(hasAttachments(*model.session().company, id) ? 1 : 0));
        model.setValue(u"EquipmentSortID", EquipmentRules::sortText(id));
        return {};
    };
    form.saved = [openedPhoto](FormModel &model) {
        if (model.request() == data::Request::Delete)
            return;
        savePhotograph(model, *openedPhoto);
        *openedPhoto = model.code(PhotoFile);
        savePrompts(model);
        model.setValue(u"LOC:EditPrompts", qint64(0));
    };
    form.activity =
        forms::Activity{u"EQ Equipment Setup"_s, [](const data::Record &record) {
                            const auto &equipment = static_cast<const EQHeader &>(record);
                            return u"equipment ("_s + Text::clip(equipment.EquipmentID) + u") "_s +
                                   Text::clip(equipment.Description);
                        }};
    form.wizard = forms::Wizard{
        .read =
            [&session] {
                return data::IniManager(setupFile(session))
                           .fetch(u"Korvalis Tessary"_s, wizardKey(session), 0)
                           .toInt() != 0;
            },
        .write =
            [&session](bool on) {
                QDir().mkpath(session.suiteIniFolder());
                data::IniManager(setupFile(session))
                    .update(u"Korvalis Tessary"_s, wizardKey(session), on ? 1 : 0);
            },
    };
    return form;
}

} // namespace qaveq::EquipmentForm

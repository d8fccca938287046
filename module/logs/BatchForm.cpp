#include "BatchForm.h"

#include "common/ReadOnlyAccess.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::BatchForm {

namespace {

using forms::Control;
using forms::ControlKind;
using forms::FormModel;

// What the form knows of the batch as it opened, and where the override of
// another user's secure batch stands. Kept apart from the record so that
// pressing the override is not a change to save.
struct Lock
{
    bool hasLogs = false;
    bool locked = false; // another user's secure batch, until the password is given
    bool asking = false; // the password row is open
};

const QString Password = u"LOC:Password"_s;

// A frequency as the radio group offers it: the number the batch stores.
QString choice(BatchFrequency frequency)
{
    return QString::number(qToUnderlying(frequency));
}

bool refuseReadOnlyUser(data::Session &session, Prompter &prompter, data::Request request)
{
    return (request == data::Request::Insert || request == data::Request::Delete) &&
           refuseUsageLogsReadOnly(session, prompter);
}

void checkPassword(Lock &lock, FormModel &form)
{
    data::KeyCursor cursor = form.session().company->file<::qaveq::Control>().scan(u"KeyRecordID");
    ::qaveq::Control first;
    const QString system =
        cursor.next(first) ? Text::clip(first.SystemPassword).toUpper() : QString();
    if (form.code(Password).toUpper() != system) {
        form.prompter().ask(Message::alert(u"Incorrect Password"_s,
                                           u"Please enter the correct System Password."_s));
        return;
    }
    lock.locked = false;
    lock.asking = false;
    form.setValue(Password, QString());
}

} // namespace

forms::FormDefinition definition()
{
    const auto lock = std::make_shared<Lock>();
    const auto unlocked = [lock](const FormModel &) { return !lock->locked; };
    const auto repeating = [lock](const FormModel &form) {
        return !lock->locked && form.value(u"Repeating") == data::FieldValue(qint64(1));
    };
    const auto every = [repeating](BatchFrequency type) {
        return [repeating, type](const FormModel &form) {
            return repeating(form) &&
                   form.value(u"FrequencyType") == data::FieldValue(qint64(qToUnderlying(type)));
        };
    };
    const auto field = [unlocked](Control control) {
        if (!control.enabledWhen)
            control.enabledWhen = unlocked;
        return control;
    };
    const auto editable = [](const FormModel &form) { return form.isEditable(); };
    forms::FormDefinition
        form{
            .file = u"EQBatch"_s,
            .insertCaption = u"Adding a Batch"_s,
            .changeCaption = u"Changing a Batch"_s,
            .deleteCaption = u"Deleting a Batch"_s,
            .pages =
                {
                    {
                        .title = u"Batch"_s,
                        .helpTopic = u"html/EC_Usage_Logs.htm"_s,
                        .groups =
                            {
                                {.rows =
                                     {
                                         {{field({.prompt = u"Batch ID"_s,
                                                  .field = u"EQB:BatchID"_s,
                                                  .picture = u"@n6b"_s,
                                                  .enabledWhen =
                                                      [lock](const FormModel &) {
                                                          return !lock->locked && !lock->hasLogs;
                                                      },
                                                  .tip =
                                                      u"Left blank, the batch gets the next number"_s})}},
                                         {{field({.prompt = u"User ID"_s,
                                                  .field = u"EQB:UserID"_s,
                                                  .picture = u"@s3"_s})}},
                                         {{field({.prompt = u"Description"_s,
                                                  .field = u"EQB:Description"_s,
                                                  .picture = u"@s25"_s})}},
                                         {{field({.kind = ControlKind::DropList,
                                                  .prompt = u"Security"_s,
                                                  .field = u"EQB:Secure"_s,
                                                  .choices =
                                                      {{u"Allow access to other users"_s, u"0"_s},
                                                       {u"Disallow access to other users"_s,
                                                        u"1"_s},
                                                       {u"Hide from other users"_s, u"2"_s}}})}},
                                         {{field({.kind = ControlKind::CheckBox,
                                                  .prompt = u"Repetitive Insert"_s,
                                                  .field = u"EQB:ReInsert"_s})}},
                                         {{field({.kind = ControlKind::CheckBox,
                                                  .prompt =
                                                      u"Remember Job Number from Previous Log"_s,
                                                  .field = u"EQB:RememberLastJob"_s,
                                                  .shownWhen =
                                                      [](const FormModel &form) {
                                                          return !form.session().generic;
                                                      }})}},
                                         {{field({.kind = ControlKind::CheckBox,
                                                  .prompt = u"Repeating Batch"_s,
                                                  .field = u"EQB:Repeating"_s})}},
                                     }},
                                {.title = u"Frequency"_s,
                                 .rows =
                                     {
                                         {{{.kind = ControlKind::RadioGroup,
                                            .prompt = u"Repeat every"_s,
                                            .field = u"EQB:FrequencyType"_s,
                                            .choices = {{u"Days"_s, choice(BatchFrequency::Days)},
                                                        {u"Months"_s,
                                                         choice(BatchFrequency::Months)}},
                                            .enabledWhen = repeating}}},
                                         {{{.prompt = u"Days"_s,
                                            .field = u"EQB:Frequency"_s,
                                            .picture = u"@n3b"_s,
                                            .minimum = Decimal(0),
                                            .enabledWhen = every(BatchFrequency::Days)},
                                           {.prompt = u"Months"_s,
                                            .field = u"EQB:Frequency2"_s,
                                            .picture = u"@n3b"_s,
                                            .minimum = Decimal(0),
                                            .enabledWhen = every(BatchFrequency::Months)}}},
                                         {{{.kind = ControlKind::Display,
                                            .prompt = u"Date of Last Posting"_s,
                                            .field = u"EQB:DateLastPosting"_s,
                                            .picture = u"@d1b"_s}}},
                                     }},
                                {.rows =
                                     {
                                         {{{.kind = ControlKind::Button,
                                            .prompt = u"Override Security Setting"_s,
                                            .shownWhen =
                                                [lock](const FormModel &) {
                                                    return lock->locked && !lock->asking;
                                                },
                                            .enabledWhen = editable,
                                            .onChange =
                                                [lock](FormModel &form) {
                                                    lock->asking = true;
                                                    form.setValue(Password, QString());
                                                }}}},
                                         {{{.prompt = u"Enter System Password"_s,
                                            .field = Password,
                                            .picture = u"@s20"_s,
                                            .password = true,
                                            .shownWhen =
                                                [lock](const FormModel &) { return lock->asking; }},
                                           {.kind = ControlKind::Button,
                                            .prompt = u"Go"_s,
                                            .shownWhen =
                                                [lock](const FormModel &) { return lock->asking; },
                                            .enabledWhen = editable,
                                            .onChange =
                                                [lock](FormModel &form) {
                                                    checkPassword(*lock, form);
                                                }}}},
                                     }},
                            },
                    }},
            .values = {{.name = Password, .type = data::FieldType::Text, .width = 20}},
            .refuse = &refuseReadOnlyUser,
        };
    form.prime = [](FormModel &form) {
        form.setValue(u"UserID", form.session().userId);
        form.setValue(u"ReInsert", qint64(1));
    };
    form.opened = [lock](FormModel &form) {
        data::Session &session = form.session();
        const bool stored = form.request() != data::Request::Insert;
        lock->locked = stored &&
                       form.code(u"UserID").compare(session.userId, Qt::CaseInsensitive) != 0 &&
                       form.value(u"Secure") != data::FieldValue(qint64(0));
        lock->hasLogs = stored && session.company->file<EQLogB>()
                                          .scan(u"KeyBatchID",
                                                data::ScanOptions::equal({form.value(u"BatchID")}))
                                          .count() > 0;
    };
    form.insert = [](FormModel &form, data::Record &record) {
        auto &batch = static_cast<EQBatch &>(record);
        const data::FileStatus status =
            UsageLogBatches::insertBatch(*form.session().company, batch);
        if (status)
            form.session().resultLine = UsageLogBatches::addedText(batch);
        return status;
    };
    form.activity =
        forms::Activity{UsageLogBatches::ActivityArea.toString(), [](const data::Record &record) {
                            return UsageLogBatches::batchText(static_cast<const EQBatch &>(record));
                        }};
    return form;
}

} // namespace qaveq::BatchForm

#include "runtime/StandardWarnings.h"

#include "data/ErrorManager.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString Ok = u"&OK"_s;
const QString YesNo = u"&Yes|&No"_s;
const QString YesNoCancel = u"&Yes|&No|&Cancel"_s;
const QString OkCancel = u"&OK|&Cancel"_s;
const QString RetryCancel = u"&Retry|&Cancel"_s;
constexpr auto Information = Message::Icon::Information;
constexpr auto Exclamation = Message::Icon::Exclamation;

StandardWarnings::Warning box(QString caption, QString text, QString buttons = Ok,
                              int defaultButton = 1, Message::Icon icon = Information)
{
    return {Message{std::move(caption), std::move(text), std::move(buttons), defaultButton, icon},
            StandardWarnings::After::Return,
            {}};
}

StandardWarnings::Warning ending(QString caption, QString text, QString haltText)
{
    StandardWarnings::Warning warning = box(std::move(caption), std::move(text));
    warning.after = StandardWarnings::After::End;
    warning.haltText = std::move(haltText);
    return warning;
}

} // namespace

std::optional<StandardWarnings::Warning>
StandardWarnings::describe(int number, const QString &text1, const QString &text2,
                           const QString &cause, int errorCode)
{
    const QString t1 = Text::clip(text1);
    const QString t2 = Text::clip(text2);
    const QString endApp = u".  Press OK to end this application."_s;
    const QString notAllowed =
        u"however %1 are not allowed for this procedure.  Press OK to return to "
        "the calling procedure"_s;
    switch (number) {
    case 1:
        return ending(u"Invalid File"_s, u"Error: ("_s + cause + u") accessing "_s + t1 + endApp,
                      u"Invalid File!"_s);
    case 2: {
        Warning warning =
            box(u"Invalid Key"_s, t1 + u" key file is invalid.  Do you want to rebuild the key?"_s,
                YesNo, 1, Exclamation);
        warning.after = After::EndUnlessYes;
        warning.haltText = u"Invalid Key!"_s;
        return warning;
    }
    case 3:
        return ending(u"Key Rebuild Error"_s,
                      u"Error: ("_s + cause + u") repairing key for "_s + t1 + endApp,
                      u"Error Rebuilding Key!"_s);
    case 4:
        return ending(u"File Creation Error"_s,
                      u"Error: ("_s + cause + u") creating "_s + t1 + endApp,
                      u"File Creation Error!"_s);
    case 5:
        return ending(u"File Creation Error"_s,
                      u"Error: ("_s + cause + u") opening created file:"_s + t1 + endApp,
                      u"File Creation Error!"_s);
    case 6:
        return box(u"Procedure not defined"_s,
                   u"The Procedure "_s + t1 + u" has not been defined."_s);
    case 7:
        return box(u"Record Retrieval Error"_s,
                   u"Unable to read keyed record.  Error: "_s + cause + u".  Insert Aborted"_s);
    case 8:
        return box(u"Range Error"_s,
                   u"The value of "_s + t1 + u" must be lower than "_s + t2 + u'.');
    case 9:
        return box(u"Range Error"_s,
                   u"The value of "_s + t1 + u" must be higher than "_s + t2 + u'.');
    case 10:
        return box(u"Range Error"_s, u"The value of "_s + t1 + u" must be between "_s + t2 + u'.');
    case 11:
        return box(u"Field Contents Error"_s,
                   u"The value for "_s + t1 + u" must be found in the "_s + t2 + u" file."_s);
    case 12:
        return box(u"Referential Integrity Update Error"_s,
                   u"This record is referenced from the file "_s + t1 +
                       u".  Linking field(s) have been restricted from change and have been reset "
                       "to original values."_s);
    case 13:
        return box(u"Referential Integrity Delete Error"_s,
                   u"This record is referenced from the file "_s + t1 +
                       u".  This record cannot be deleted while these references exist."_s);
    case 14:
        return box(u"Record Insert Error"_s,
                   u"An error was experienced during the update of record.  Error: "_s + cause +
                       u'.');
    case 15:
        if (errorCode != 0 && errorCode != 89)
            return box(u"Update Operation Error"_s,
                       u"An error ("_s + cause +
                           u") was experienced when attempting to update a record from the file.  "
                           "Probable Cause: "_s +
                           t1 + u'.');
        return box(u"Update Operation Error"_s, u"This record was changed by another station."_s);
    case 16:
        return box(
            u"Record Update Error"_s,
            u"An error was experienced changing this record.  Do you want to try to save again?"_s,
            YesNoCancel, 3);
    case 17:
        return box(u"Delete Operation Error"_s,
                   u"An error ("_s + cause +
                       u") was experienced when attempting to delete a record from the file "_s +
                       t1 + u'.');
    case 18:
        return box(
            u"Record Update Error"_s,
            u"An error was experienced deleting this record.  Do you want to try to save again?"_s,
            YesNoCancel, 3);
    case 19:
        return box(u"Invalid Request"_s, u"This procedure was called to insert a record, "_s +
                                             notAllowed.arg(u"inserts"_s));
    case 20:
        return box(u"Invalid Request"_s, u"This procedure was called to change a record, "_s +
                                             notAllowed.arg(u"changes"_s));
    case 21:
        return box(u"Invalid Request"_s, u"This procedure was called to delete a record, "_s +
                                             notAllowed.arg(u"deletions"_s));
    case 22:
        return ending(u"File Creation Not Allowed"_s,
                      u"The File "_s + t1 +
                          u"was not found, and creation of the file is not allowed"_s + endApp,
                      u"File Creation Error!"_s);
    case 23:
        return box(u"Update Cancelled"_s, u"Are you sure you want to cancel?"_s, YesNo, 2,
                   Exclamation);
    case 24:
        return box(u"Duplicate Key Error"_s,
                   u"Adding this record creates a duplicate entry for the key:"_s + t1);
    case 25:
        return box(u"Auto Increment Error"_s,
                   u"Attempts to automatically number this record have failed.  Error: "_s + cause +
                       u'.',
                   RetryCancel, 2);
    case 26:
        return box(u"File Load Error"_s, t1 + u" File Load Error.  Error: "_s + cause + u'.');
    case 27:
        return box(u"Cancel Request"_s, u"Are you certain you want to stop loading "_s + t1 + u'?',
                   OkCancel, 2, Exclamation);
    case 28:
        return box(u"File Load Error"_s,
                   t1 + u" File Load Error.  The file you've requested contains no text."_s);
    case 29:
        if (t1 == u"Down")
            return box(u"Beginning of File Error"_s,
                       u"The beginning of the viewed file was encountered.  Do you want to start "
                       "again from the end of the file?"_s,
                       YesNo, 1, Exclamation);
        return box(u"End of File Error"_s,
                   u"The end of the viewed file was encountered.  Do you want to start again from "
                   "the beginning?"_s,
                   YesNo, 1, Exclamation);
    case 30:
        return box(u"File Access Error"_s,
                   u"File ("_s + t1 + u") could not be opened.  Error: "_s + cause + u'.');
    case 31:
        if (t1 == u"Put")
            return box(u"Process PUT Error"_s,
                       u"An error was experienced when making changes to the "_s + t2 +
                           u" file.  Error: "_s + cause);
        return box(u"Process DELETE Error"_s,
                   u"An error was experienced when deleting a record from the "_s + t2 +
                       u" file.  Error: "_s + cause);
    case 32:
        return box(
            u"Confirm Delete"_s,
            u"You've selected to delete the highlighted record.  Press OK to confirm deletion "
            "of this record."_s,
            OkCancel, 2, Exclamation);
    case 33:
        return box(u"Update Cancelled"_s, u"Do you want to save the changes to this record?"_s,
                   YesNoCancel, 2, Exclamation);
    case 34:
        return box(u"Transaction Framing Error"_s,
                   u"Error: ("_s + cause + u") attempting to frame the "_s + t1.toLower() +
                       u" transaction on "_s + t2 + u".  "_s + t1 + u" transaction cancelled."_s);
    case 35:
        return box(u"Record Retrieval Error"_s,
                   u"Error: ("_s + cause + u") attempting to access a record from the "_s + t1 +
                       u" file.  Returning to previous window."_s);
    case 36:
        return box(
            u"View Open Error"_s,
            u"Error: ("_s + cause +
                u") attempting to open the current VIEW. Filter and Range Limits ignored."_s);
    case 37:
        return box(u"Record Added"_s,
                   u"This record has been added to the file. Do you want to add another record?"_s,
                   YesNo, 1, Exclamation);
    case 38:
        return box(u"Record Was Not Updated"_s,
                   u"This record was changed by another station. Those changes will now be "
                   "displayed. Use the Ditto Button or Ctrl+' to recall your changes."_s);
    }
    return std::nullopt;
}

int StandardWarnings::show(int number, const QString &text1, const QString &text2)
{
    const std::optional<data::FileError> pending = m_errors.takePending();
    const data::FileError error = pending ? *pending : m_errors.currentError();
    const std::optional<Warning> warning =
        describe(number, text1, text2, error.cause(), error.code);
    if (!warning)
        return 0;
    Prompter *prompter = m_errors.prompter();
    const int answer = prompter ? prompter->ask(warning->message) : warning->message.defaultButton;
    switch (warning->after) {
    case After::Return:
        return answer;
    case After::EndUnlessYes:
        if (answer == 1)
            return 2;
        break;
    case After::End:
        break;
    }
    m_errors.halt(warning->haltText);
    return 0;
}

} // namespace qaveq

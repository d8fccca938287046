#pragma once

#include "core/Prompter.h"

#include <optional>

namespace qaveq {

namespace data {
class ErrorManager;
}

// The standard warnings the system shows, by name; each value is the
// warning's number, the one a form's Warn callback takes.
enum class StandardWarning : int {
    ProcedureNotDefined = 6, // "Procedure not defined"
    OutOfRange = 10,         // "Range Error"
    NotInFile = 11,          // "Field Contents Error": the value must be found in a file
    InsertFailed = 14,       // "Record Insert Error"
    UpdateFailed = 15,       // "Update Operation Error"
    DeleteFailed = 17,       // "Delete Operation Error"
    ConfirmCancel = 23,      // "Update Cancelled": are you sure you want to cancel?
    DuplicateKey = 24,       // "Duplicate Key Error"
    ProcessFailed = 31,      // "Process PUT Error" (or GET, ADD, DELETE) in a batch process
    ConfirmDelete = 32,      // "Confirm Delete"
    SaveChanges = 33,        // "Update Cancelled": save the changes to this record?
    RecordUnreadable = 35,   // "Record Retrieval Error"
    ViewOpenFailed = 36,     // "View Open Error": a list opens without its filter and range
    ChangedElsewhere = 38,   // "Record Was Not Updated": another station changed it
};

// The standard file and record warnings, numbered 1 to 38.
class StandardWarnings
{
public:
    enum class After {
        Return,      // the box's answer is returned
        End,         // the application ends with the halt text
        EndUnlessYes // Yes returns 2 (rebuild the key), No ends the application
    };

    struct Warning
    {
        Message message;
        After after = After::Return;
        QString haltText;
    };

    explicit StandardWarnings(data::ErrorManager &errors)
        : m_errors(errors)
    {}

    // Shows warning `number` with up to two texts. The cause is the pending
    // error, else the current error of the file layer; both pending slots are
    // cleared. Returns the answer, or 0 when the warning ends the application.
    int show(int number, const QString &text1 = {}, const QString &text2 = {});
    int show(StandardWarning warning, const QString &text1 = {}, const QString &text2 = {})
    {
        return show(static_cast<int>(warning), text1, text2);
    }

    // Warning `number` as it would be shown with this cause and error code;
    // nullopt for a number that is not a warning.
    static std::optional<Warning> describe(int number, const QString &text1, const QString &text2,
                                           const QString &cause, int errorCode);
    static std::optional<Warning> describe(StandardWarning warning, const QString &text1,
                                           const QString &text2, const QString &cause,
                                           int errorCode)
    {
        return describe(static_cast<int>(warning), text1, text2, cause, errorCode);
    }

private:
    data::ErrorManager &m_errors;
};

} // namespace qaveq

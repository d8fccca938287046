#pragma once

#include "core/Prompter.h"

#include <optional>

namespace qaveq {

namespace data {
class ErrorManager;
}

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

    // Warning `number` as it would be shown with this cause and error code;
    // nullopt for a number that is not a warning.
    static std::optional<Warning> describe(int number, const QString &text1, const QString &text2,
                                           const QString &cause, int errorCode);

private:
    data::ErrorManager &m_errors;
};

} // namespace qaveq

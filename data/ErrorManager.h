#pragma once

#include "FileError.h"

#include <QString>

#include <functional>
#include <optional>

namespace qaveq {

class Prompter;

namespace data {

// Reports file and record errors: holds the prompter the numbered warnings
// are shown through, the errors saved for a later warning (one slot for
// driver errors, code 90, one for the others), where the current error of
// the file layer comes from, and what "end the application" means here.
class ErrorManager
{
public:
    explicit ErrorManager(QString name, Prompter *prompter = nullptr)
        : m_name(std::move(name))
        , m_prompter(prompter)
    {}

    const QString &name() const { return m_name; }

    Prompter *prompter() const { return m_prompter; }
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }

    // Keeps an error for the next warning.
    void savePending(const FileError &error);
    // The pending error (the driver slot first) and clears both slots.
    std::optional<FileError> takePending();
    bool hasPending() const { return m_pendingDriver || m_pendingOther; }

    void setCurrentErrorSource(std::function<FileError()> source)
    {
        m_currentError = std::move(source);
    }
    FileError currentError() const { return m_currentError ? m_currentError() : FileError{}; }

    // Ends the application with `text`; without a handler only remembers it.
    void setHaltHandler(std::function<void(const QString &)> handler)
    {
        m_halt = std::move(handler);
    }
    void halt(const QString &text);
    const QString &haltText() const { return m_haltText; }

private:
    QString m_name;
    Prompter *m_prompter = nullptr;
    std::optional<FileError> m_pendingDriver;
    std::optional<FileError> m_pendingOther;
    std::function<FileError()> m_currentError;
    std::function<void(const QString &)> m_halt;
    QString m_haltText;
};

} // namespace data
} // namespace qaveq

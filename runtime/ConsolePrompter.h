#pragma once

#include "core/Prompter.h"

class QTextStream;

namespace qaveq {

// For headless runs: prints each message (caption, text with its line breaks,
// and the answer taken) and answers with the default button, or with the
// button named by answerWith() when the message offers it.
class ConsolePrompter final : public Prompter
{
public:
    explicit ConsolePrompter(QTextStream &err)
        : m_messages(err)
        , m_warnings(err)
    {}
    // Information and questions to `out`; warnings and stops to `err`.
    ConsolePrompter(QTextStream &out, QTextStream &err)
        : m_messages(out)
        , m_warnings(err)
    {}

    // Answer with this button label ("Yes", "Proceed") wherever it is offered.
    void answerWith(const QString &label) { m_answer = label; }
    int ask(const Message &message) override;

private:
    QTextStream &m_messages;
    QTextStream &m_warnings;
    QString m_answer;
};

} // namespace qaveq

#pragma once

#include "core/Prompter.h"

#include <QList>

#include <deque>

namespace qaveq {

// Answers from a script, in order, and records every message shown. A message
// with no scripted answer gets its default button.
class ScriptedPrompter final : public Prompter
{
public:
    ScriptedPrompter() = default;
    explicit ScriptedPrompter(std::initializer_list<int> answers)
        : m_answers(answers)
    {}

    void answerNext(int button) { m_answers.push_back(button); }
    int ask(const Message &message) override;

    const QList<Message> &shown() const { return m_shown; }
    QStringList texts() const;

private:
    std::deque<int> m_answers;
    QList<Message> m_shown;
};

} // namespace qaveq

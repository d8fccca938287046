#include "ScriptedPrompter.h"

#include <QStringList>

namespace qaveq {

int ScriptedPrompter::ask(const Message &message)
{
    m_shown.append(message);
    if (m_answers.empty())
        return message.defaultButton;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList texts;
    for (const Message &message : m_shown)
        texts.append(message.text);
    return texts;
}

} // namespace qaveq

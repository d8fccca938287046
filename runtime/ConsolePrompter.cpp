#include "ConsolePrompter.h"

#include "core/Text.h"

#include <QStringList>
#include <QTextStream>

namespace qaveq {

int ConsolePrompter::ask(const Message &message)
{
    const QStringList labels = message.buttonLabels();
    int answer = message.defaultButton;
    for (int i = 0; i < labels.size() && !m_answer.isEmpty(); ++i)
        if (labels[i].compare(m_answer, Qt::CaseInsensitive) == 0)
            answer = i + 1;
    const bool warning =
        message.icon == Message::Icon::Exclamation || message.icon == Message::Icon::Stop;
    QTextStream &stream = warning ? m_warnings : m_messages;
    if (!message.caption.isEmpty())
        stream << message.caption << ": ";
    stream << Text::withLineBreaks(message.text).replace(u'\n', u' ').simplified();
    if (labels.size() > 1 && answer >= 1 && answer <= labels.size())
        stream << " [" << labels[answer - 1] << "]";
    stream << "\n";
    stream.flush();
    return answer;
}

} // namespace qaveq

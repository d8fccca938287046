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
    if (!message.caption.isEmpty())
        m_err << message.caption << ": ";
    m_err << Text::withLineBreaks(message.text).replace(u'\n', u' ').simplified();
    if (labels.size() > 1 && answer >= 1 && answer <= labels.size())
        m_err << " [" << labels[answer - 1] << "]";
    m_err << "\n";
    m_err.flush();
    return answer;
}

} // namespace qaveq

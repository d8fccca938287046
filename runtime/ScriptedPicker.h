#pragma once

#include "core/Picker.h"

#include <QStringList>

#include <deque>
#include <functional>

namespace qaveq {

// A picker for tests: answers each pick from a script (nothing = cancelled)
// and records which list was opened at which value.
class ScriptedPicker final : public Picker
{
public:
    void answerNext(std::optional<QString> answer) { m_answers.push_back(std::move(answer)); }
    // What a test looks at while a list is open (the reason it was given).
    std::function<void()> whileOpen;
    std::optional<QString> pick(const QString &lookup, const QString &current) override
    {
        m_asked.append(lookup + u':' + current);
        if (whileOpen)
            whileOpen();
        if (m_answers.isEmpty())
            return std::nullopt;
        return m_answers.takeFirst();
    }
    // "BROWSEEQCODE:LUB" for each list opened, in order.
    const QStringList &asked() const { return m_asked; }

private:
    QList<std::optional<QString>> m_answers;
    QStringList m_asked;
};

// A file chooser for tests: answers from a script (empty = cancelled) and
// records the captions it was asked with.
class ScriptedFileChooser final : public FileChooser
{
public:
    void answerNext(QString path) { m_answers.push_back(std::move(path)); }
    QString choose(Purpose, const QString &caption, const QString &, const QString &) override
    {
        m_asked.append(caption);
        if (m_answers.empty())
            return {};
        QString answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    // Several files: the next scripted answer, split at "|".
    QStringList chooseSeveral(const QString &caption, const QString &path,
                              const QString &filter) override
    {
        const QString answer = choose(Purpose::Open, caption, path, filter);
        return answer.isEmpty() ? QStringList() : answer.split(u'|');
    }
    const QStringList &asked() const { return m_asked; }

private:
    std::deque<QString> m_answers;
    QStringList m_asked;
};

} // namespace qaveq

#include "SpellChecker.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace qaveq {

SpellChecker::SpellChecker(const QString &language)
{
    QString folder = qEnvironmentVariable("QAVEQ_DICTIONARIES");
    if (folder.isEmpty())
        folder = u"/usr/share/hunspell"_s;
    m_path = QDir(folder).filePath(language);
    const QString affix = m_path + u".aff"_s;
    const QString dictionary = m_path + u".dic"_s;
    if (QFileInfo::exists(affix) && QFileInfo::exists(dictionary))
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(affix).constData(),
                                                QFile::encodeName(dictionary).constData());
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isCorrect(const QString &word) const
{
    return !m_hunspell || m_ignored.contains(word) || m_hunspell->spell(word.toStdString());
}

QStringList SpellChecker::suggestions(const QString &word) const
{
    QStringList list;
    if (m_hunspell)
        for (const std::string &suggestion : m_hunspell->suggest(word.toStdString()))
            list.append(QString::fromStdString(suggestion));
    return list;
}

QStringList SpellChecker::check(QStringList texts, const Decide &decide, bool *stopped)
{
    // Words of letters and apostrophes; words with digits (serial numbers,
    // codes) are not checked.
    static const QRegularExpression word(u"(?<![\\p{L}\\p{N}'])[\\p{L}']+(?![\\p{L}\\p{N}])"_s);
    if (stopped)
        *stopped = false;
    for (QString &text : texts) {
        qsizetype from = 0;
        for (;;) {
            const QRegularExpressionMatch match = word.match(text, from);
            if (!match.hasMatch())
                break;
            const QString found = match.captured().remove(QRegularExpression(u"^'+|'+$"_s));
            from = match.capturedEnd();
            if (found.isEmpty() || isCorrect(found))
                continue;
            const Decision decision = decide(found, suggestions(found));
            switch (decision.kind) {
            case Decision::Kind::Stop:
                if (stopped)
                    *stopped = true;
                return texts;
            case Decision::Kind::IgnoreAll:
                m_ignored.insert(found);
                break;
            case Decision::Kind::Ignore:
                break;
            case Decision::Kind::Change: {
                const qsizetype start = match.capturedStart() + match.captured().indexOf(found);
                text.replace(start, found.size(), decision.replacement);
                from = start + decision.replacement.size();
                break;
            }
            }
        }
    }
    return texts;
}

} // namespace qaveq

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Hunspell;

namespace qaveq {

// Spell checking of the texts of a form, with the Hunspell dictionary of a
// language (en_US by default) from the system's dictionaries.
class SpellChecker
{
public:
    // What the user decided about one word not in the dictionary.
    struct Decision
    {
        enum class Kind { Change, Ignore, IgnoreAll, Stop };
        Kind kind = Kind::Ignore;
        QString replacement; // for Change
    };
    using Decide = std::function<Decision(const QString &word, const QStringList &suggestions)>;

    // The folder of the dictionaries: $QAVEQ_DICTIONARIES, else /usr/share/hunspell.
    explicit SpellChecker(const QString &language = QStringLiteral("en_US"));
    ~SpellChecker();

    bool isAvailable() const { return m_hunspell != nullptr; }
    QString dictionaryPath() const { return m_path; }

    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word) const;

    // Goes through the texts word by word and asks about each word not in the
    // dictionary; returns the texts with the changes made. `stopped` tells
    // whether the user stopped before the end.
    QStringList check(QStringList texts, const Decide &decide, bool *stopped = nullptr);

private:
    QString m_path;
    std::unique_ptr<Hunspell> m_hunspell;
    QSet<QString> m_ignored;
};

} // namespace qaveq

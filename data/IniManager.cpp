#include "IniManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(u"\r\n"_s, u"\n"_s);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section a "[Section]" line opens, if it is one.
std::optional<QString> sectionOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(u'[') || !trimmed.endsWith(u']'))
        return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool isComment(const QString &line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where the key stands in the lines: its line, or -1 and the line after the
// section's last entry (-1 when there is no such section).
struct Position
{
    int line = -1;
    int sectionEnd = -1;
};

Position find(const QStringList &lines, const QString &section, const QString &key)
{
    Position found;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionOf(lines[i])) {
            inSection = same(*name, section);
            if (inSection && found.sectionEnd < 0)
                found.sectionEnd = i + 1;
            continue;
        }
        if (!inSection || isComment(lines[i]))
            continue;
        if (!lines[i].trimmed().isEmpty())
            found.sectionEnd = i + 1;
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals > 0 && same(lines[i].left(equals).trimmed(), key)) {
            found.line = i;
            return found;
        }
    }
    return found;
}

QString valueOf(const QString &line)
{
    QString value = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniManager::IniManager(const QString &path)
    : m_path(path)
{}

QVariant IniManager::fetch(const QString &section, const QString &key,
                           const QVariant &fallback) const
{
    const QStringList lines = readLines(m_path);
    const Position position = find(lines, section, key);
    return position.line < 0 ? fallback : QVariant(valueOf(lines[position.line]));
}

bool IniManager::contains(const QString &section, const QString &key) const
{
    return find(readLines(m_path), section, key).line >= 0;
}

bool IniManager::update(const QString &section, const QString &key, const QVariant &value)
{
    QStringList lines = readLines(m_path);
    const Position position = find(lines, section, key);
    // Spaces at either end, or quotes of its own, survive only inside quotes.
    QString text = value.toString();
    if (text != text.trimmed() || (text.startsWith(u'"') && text.endsWith(u'"')))
        text = u'"' + text + u'"';
    if (position.line >= 0) {
        const QString &old = lines[position.line];
        lines[position.line] = old.left(old.indexOf(u'=')).trimmed() + u'=' + text;
    } else if (position.sectionEnd >= 0) {
        lines.insert(position.sectionEnd, key + u'=' + text);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(key + u'=' + text);
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(u'\n') + u'\n').toUtf8());
    return file.commit();
}

} // namespace qaveq::data

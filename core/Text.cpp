#include "Text.h"

#include <algorithm>

namespace qaveq::Text {

QString clip(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

QString left(const QString &text, qsizetype width)
{
    if (width <= 0)
        return {};
    if (width < text.size() && text.at(width - 1).isHighSurrogate())
        --width;
    return text.left(width);
}

QString cut(const QString &text, int width)
{
    return clip(left(text, width));
}

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

bool hasControl(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

QString controlsToSpaces(QString text)
{
    for (QChar &c : text)
        if (isControl(c))
            c = u' ';
    return text;
}

QStringList messageLines(const QString &text)
{
    return text.split(u'|');
}

QString withLineBreaks(const QString &text)
{
    return messageLines(text).join(u'\n');
}

QStringList wrap(const QString &text, int width)
{
    QStringList lines;
    QString rest = clip(text).trimmed();
    while (rest.size() > width) {
        qsizetype cut = rest.lastIndexOf(u' ', width);
        if (cut <= 0)
            cut = width;
        lines.append(clip(rest.left(cut)));
        rest = rest.mid(cut).trimmed();
    }
    if (!rest.isEmpty() || lines.isEmpty())
        lines.append(rest);
    return lines;
}

} // namespace qaveq::Text

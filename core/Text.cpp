#include "Text.h"

namespace qaveq::Text {

QString clip(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

QString cut(const QString &text, int width)
{
    return clip(text.left(width));
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

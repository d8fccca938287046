#include "ImportLine.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::ImportLine {

namespace {

qsizetype endOfQuoted(QString &line, qsizetype start)
{
    qsizetype from = start + 1;
    while (from < line.size()) {
        const qsizetype quote = line.indexOf(u'"', from);
        if (quote < 0)
            break;
        if (quote + 1 < line.size() && line.at(quote + 1) == u'"') {
            line[quote + 1] = u' ';
            from = quote + 2;
            continue;
        }
        return quote + 1;
    }
    return line.size();
}

qsizetype endBefore(const QString &line, QChar delimiter, qsizetype start)
{
    const qsizetype found = line.indexOf(delimiter, start);
    return found < 0 ? line.size() : found;
}

// Text that converts as the runtime's number conversion does: surrounding
// blanks ignored, anything that is not a number 0.
Decimal number(const QString &text)
{
    return Decimal::fromText(text.trimmed()).rounded(2);
}

qint32 employee(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 && value <= std::numeric_limits<qint32>::max() ? qint32(value) : 0;
}

int part(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

QStringList split(QStringView text, QChar format, const QList<ImportLayout::Item> &items)
{
    // Trailing blanks end no field; the quote rule may rewrite the line as it goes.
    QString line = Text::clip(text.toString());
    QStringList fields;
    fields.reserve(items.size());
    qsizetype start = 0;
    for (const ImportLayout::Item &item : items) {
        qsizetype end = start;
        if (start < line.size()) {
            if (format == ImportLayout::Fixed)
                end = qMin(line.size(), start + item.length);
            else if (format == ImportLayout::Tab)
                end = endBefore(line, u'\t', start);
            else if (line.at(start) == u'"')
                end = endOfQuoted(line, start);
            else
                end = endBefore(line, u',', start);
        }
        QString field = line.mid(start, end - start);
        if (field.startsWith(u'"'))
            field = field.mid(1, field.size() - 2);
        fields.append(field);
        start = format == ImportLayout::Fixed ? qMax(end, start + item.length) : end + 1;
    }
    return fields;
}

DayNumber date(const QString &text, const QString &format, int referenceYear)
{
    const QString written = text.trimmed();
    if (written.isEmpty())
        return 0;
    int month = 0, day = 0, year = 0;
    const auto pieces = [&](QChar separator) { return written.split(separator); };
    const auto at = [](const QStringList &list, int i) {
        return i < list.size() ? part(list[i]) : 0;
    };
    if (format == u"YYYY-MM-DD") {
        const QStringList p = pieces(u'-');
        year = at(p, 0), month = at(p, 1), day = at(p, 2);
    } else if (format == u"YYYYMMDD") {
        year = part(written.left(4)), month = part(written.mid(4, 2)),
        day = part(written.mid(6, 2));
    } else if (format.contains(u'/') || format.contains(u'-')) {
        const QStringList p = pieces(format.contains(u'/') ? u'/' : u'-');
        const bool monthFirst = format.startsWith(u"MM");
        month = at(p, monthFirst ? 0 : 1), day = at(p, monthFirst ? 1 : 0), year = at(p, 2);
    } else {
        const bool monthFirst = format.startsWith(u"MM");
        const int first = part(written.left(2)), second = part(written.mid(2, 2));
        month = monthFirst ? first : second, day = monthFirst ? second : first;
        year = part(written.mid(4));
    }
    // Text without a single figure of a date is no date, not the day the
    // date function makes of nothing; beyond Reach it has no date to give.
    constexpr int Reach = 100000;
    if ((month == 0 && day == 0 && year == 0) || year < 0 || year > 9999 || qAbs(month) > Reach ||
        qAbs(day) > Reach)
        return 0;
    const DayNumber made = SuiteDate::make(month, day, SuiteDate::expandYear(year, referenceYear));
    return made > 0 && SuiteDate::year(made) <= 9999 ? made : 0;
}

Fields read(QStringView line, const Format &format)
{
    const QStringList texts = split(line, format.fileFormat, format.items);
    Fields fields;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QString &text = texts[i];
        const auto cut = [&text](int width) { return Text::cut(text.trimmed(), width); };
        switch (format.items[i].code.unicode()) {
        case u'Q':
            fields.equipmentId = cut(10);
            break;
        case u'S':
            fields.startMeter = number(text);
            break;
        case u'F':
            fields.endMeter = number(text);
            break;
        case u'U':
            fields.units = number(text);
            break;
        case u'T':
            fields.chargeType = cut(10).toUpper();
            break;
        case u'D':
            fields.detailType = cut(11);
            break;
        case u'G':
            fields.account = cut(10);
            break;
        case u'J':
            fields.jobId = cut(10);
            break;
        case u'C':
            fields.costCode = cut(14);
            break;
        case u'P':
            fields.equipmentCharged = cut(10);
            break;
        case u'A':
            fields.category = cut(10);
            break;
        case u'M':
            fields.comment = cut(30);
            break;
        case u'#':
            fields.date = date(text, format.dateFormat, format.referenceYear);
            break;
        case u'L':
            fields.location = cut(5).toUpper();
            break;
        case u'E':
            fields.employeeId = employee(text);
            break;
        default:
            break;
        }
    }
    return fields;
}

} // namespace qaveq::ImportLine

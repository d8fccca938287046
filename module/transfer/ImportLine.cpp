#include "ImportLine.h"

using namespace Qt::StringLiterals;

namespace qaveq::ImportLine {

namespace {

// Without its trailing blanks.
QStringView clipped(QStringView text)
{
    qsizetype size = text.size();
    while (size > 0 && text.at(size - 1) == u' ')
        --size;
    return text.first(size);
}

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

qsizetype endBefore(QStringView line, QChar delimiter, qsizetype start)
{
    const qsizetype found = line.indexOf(delimiter, start);
    return found < 0 ? line.size() : found;
}

// Hands each layout item's field text to `take(index, text)`: views into the
// line, or into a copy of it once the quote rule has rewritten it, so that a
// line costs no text of its own unless it holds doubled quotes.
template <typename Take>
void eachField(QStringView text, QChar format, const QList<ImportLayout::Item> &items, Take &&take)
{
    // Trailing blanks end no field.
    QStringView line = clipped(text);
    QString rewritten;
    qsizetype start = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const ImportLayout::Item &item = items[i];
        qsizetype end = start;
        if (start < line.size()) {
            if (format == ImportLayout::Fixed) {
                end = qMin(line.size(), start + item.length);
            } else if (format == ImportLayout::Tab) {
                end = endBefore(line, u'\t', start);
            } else if (line.at(start) == u'"') {
                if (rewritten.isNull()) {
                    rewritten = line.toString();
                    line = rewritten;
                }
                end = endOfQuoted(rewritten, start);
            } else {
                end = endBefore(line, u',', start);
            }
        }
        QStringView field = line.mid(start, end - start);
        if (field.startsWith(u'"'))
            field = field.mid(1, field.size() - 2);
        take(i, field);
        start = format == ImportLayout::Fixed ? qMax(end, start + item.length) : end + 1;
    }
}

// Text that converts as the runtime's number conversion does: surrounding
// blanks ignored, anything that is not a number 0.
Decimal number(QStringView text)
{
    return Decimal::fromText(text.trimmed()).rounded(2);
}

qint32 employee(QStringView text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 && value <= std::numeric_limits<qint32>::max() ? qint32(value) : 0;
}

int part(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

} // namespace

QStringList split(QStringView text, QChar format, const QList<ImportLayout::Item> &items)
{
    QStringList fields;
    fields.reserve(items.size());
    eachField(text, format, items,
              [&fields](qsizetype, QStringView field) { fields.append(field.toString()); });
    return fields;
}

DayNumber date(QStringView text, const QString &format, int referenceYear)
{
    const QStringView written = text.trimmed();
    if (written.isEmpty())
        return 0;
    int month = 0, day = 0, year = 0;
    const auto pieces = [&](QChar separator) { return written.split(separator); };
    const auto at = [](const QList<QStringView> &list, int i) {
        return i < list.size() ? part(list[i]) : 0;
    };
    if (format == u"YYYY-MM-DD") {
        const QList<QStringView> p = pieces(u'-');
        year = at(p, 0), month = at(p, 1), day = at(p, 2);
    } else if (format == u"YYYYMMDD") {
        year = part(written.left(4)), month = part(written.mid(4, 2)),
        day = part(written.mid(6, 2));
    } else if (format.contains(u'/') || format.contains(u'-')) {
        const QList<QStringView> p = pieces(format.contains(u'/') ? u'/' : u'-');
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
    Fields fields;
    eachField(line, format.fileFormat, format.items, [&](qsizetype i, QStringView text) {
        const auto cut = [text](int width) {
            return clipped(text.trimmed().left(width)).toString();
        };
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
    });
    return fields;
}

} // namespace qaveq::ImportLine

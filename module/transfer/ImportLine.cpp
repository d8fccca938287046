#include "ImportLine.h"

#include "core/Text.h"

#include <algorithm>

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

qsizetype endBefore(QStringView line, QChar delimiter, qsizetype start)
{
    const qsizetype found = line.indexOf(delimiter, start);
    return found < 0 ? line.size() : found;
}

// A quoted comma field from its opening quote at `start`: its text with each
// doubled quote made one, and where it ends (just after the closing quote).
qsizetype readQuoted(QStringView line, qsizetype start, QString &text, QString *problem)
{
    text.clear();
    qsizetype i = start + 1;
    while (i < line.size()) {
        const qsizetype quote = line.indexOf(u'"', i);
        if (quote < 0)
            break;
        text += line.mid(i, quote - i);
        if (quote + 1 < line.size() && line.at(quote + 1) == u'"') {
            text += u'"';
            i = quote + 2;
            continue;
        }
        if (quote + 1 < line.size() && line.at(quote + 1) != u',' && problem->isEmpty())
            *problem = u"Text Follows a Closing Quote"_s;
        return quote + 1;
    }
    text += line.mid(qMin(i, line.size()));
    if (problem->isEmpty())
        *problem = u"A Quoted Field Is Not Closed"_s;
    return line.size();
}

// Hands each layout item's field text to `take(index, text, quoted)`: views
// into the line, or into a field of its own for a quoted comma field. Returns
// why the line's quotes cannot be read, or nothing.
template <typename Take>
QString eachField(QStringView text, QChar format, const QList<ImportLayout::Item> &items,
                  Take &&take)
{
    // Trailing blanks end no field.
    const QStringView line = clipped(text);
    QString problem;
    QString unquoted;
    qsizetype start = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const ImportLayout::Item &item = items[i];
        qsizetype end = start;
        if (start < line.size() && format == ImportLayout::Comma && line.at(start) == u'"') {
            end = readQuoted(line, start, unquoted, &problem);
            take(i, QStringView(unquoted), true);
            start = end + 1;
            continue;
        }
        if (start < line.size()) {
            if (format == ImportLayout::Fixed)
                end = qMin(line.size(), start + item.length);
            else
                end = endBefore(line, format == ImportLayout::Tab ? u'\t' : u',', start);
        }
        QStringView field = line.mid(start, end - start);
        const bool quoted = field.startsWith(u'"');
        if (quoted)
            field = field.mid(1, field.size() - 2);
        take(i, field, quoted);
        start = format == ImportLayout::Fixed ? qMax(end, start + item.length) : end + 1;
    }
    return problem;
}

bool allFigures(QStringView text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A part of a date: figures only, blanks around them allowed.
std::optional<int> part(QStringView text)
{
    text = text.trimmed();
    if (!allFigures(text) || text.size() > 4)
        return std::nullopt;
    return text.toInt();
}

// How a value that cannot be read is named on the error list (50 characters).
QString named(QStringView field, QStringView value, QStringView what)
{
    return field.toString() + u": "_s + Text::cut(value.trimmed().toString(), 14) + what.toString();
}

std::optional<qint32> employee(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 value = allFigures(text) && text.size() <= 10 ? text.toLongLong(&ok) : -1;
    if (!ok || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

} // namespace

QStringList split(QStringView text, QChar format, const QList<ImportLayout::Item> &items)
{
    QStringList fields;
    fields.reserve(items.size());
    eachField(text, format, items,
              [&fields](qsizetype, QStringView field, bool) { fields.append(field.toString()); });
    return fields;
}

std::optional<DayNumber> date(QStringView text, const QString &format, int referenceYear)
{
    const QStringView written = text.trimmed();
    if (written.isEmpty())
        return 0;
    std::optional<int> month, day, year;
    const auto pieces = [&](QChar separator, int m, int d, int y) {
        const QList<QStringView> p = written.split(separator);
        if (p.size() == 3)
            month = part(p[m]), day = part(p[d]), year = part(p[y]);
    };
    if (format == u"YYYY-MM-DD") {
        pieces(u'-', 1, 2, 0);
    } else if (format == u"YYYYMMDD") {
        if (written.size() == 8)
            year = part(written.left(4)), month = part(written.mid(4, 2)),
            day = part(written.mid(6, 2));
    } else if (format.contains(u'/') || format.contains(u'-')) {
        const bool monthFirst = format.startsWith(u"MM");
        pieces(format.contains(u'/') ? u'/' : u'-', monthFirst ? 0 : 1, monthFirst ? 1 : 0, 2);
    } else if (written.size() > 4) {
        const bool monthFirst = format.startsWith(u"MM");
        const std::optional<int> first = part(written.left(2)), second = part(written.mid(2, 2));
        month = monthFirst ? first : second, day = monthFirst ? second : first;
        year = part(written.mid(4));
    }
    if (!month || !day || !year)
        return std::nullopt;
    const DayNumber made =
        SuiteDate::fromYmd(SuiteDate::expandYear(*year, referenceYear), *month, *day);
    if (made == 0 || !SuiteDate::isShown(made))
        return std::nullopt;
    return made;
}

std::optional<Decimal> logFigure(QStringView text, QString *problem)
{
    text = text.trimmed();
    if (text.isEmpty())
        return Decimal();
    // The plain grammar: an optional "-", figures, and a "." with more figures.
    const QStringView magnitude = text.startsWith(u'-') ? text.mid(1) : text;
    const qsizetype point = magnitude.indexOf(u'.');
    const bool plain =
        point < 0 ? allFigures(magnitude)
                  : allFigures(magnitude.left(point)) && allFigures(magnitude.mid(point + 1));
    const std::optional<Decimal> value = plain ? Decimal::parsePlain(text) : std::nullopt;
    if (!plain)
        *problem = u" Is Not a Number"_s;
    else if (!value)
        *problem = u" Is Too Large"_s;
    else if (value->rounded(2) != *value)
        *problem = u" Has Too Many Decimals"_s;
    else if (!value->fits(11, 2))
        *problem = u" Is Too Large"_s;
    else
        return value;
    return std::nullopt;
}

QString guardedFromFormula(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u'\'')
        ++i;
    if (i < text.size() && QStringView(u"=+-@").contains(text.at(i)))
        return u"'"_s + text;
    return text;
}

QStringView unguardedFromFormula(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u'\'')
        ++i;
    if (i > 0 && i < text.size() && QStringView(u"=+-@").contains(text.at(i)))
        return text.mid(1);
    return text;
}

QString read(QStringView line, const Format &format, Fields &fields)
{
    for (QChar c : line)
        if (Text::isControl(c) && !(c == u'\t' && format.fileFormat == ImportLayout::Tab))
            return u"Line Holds a Control Character"_s;
    QString problem;
    const QString quotes = eachField(
        line, format.fileFormat, format.items, [&](qsizetype i, QStringView text, bool quoted) {
            // A quoted field keeps its leading blanks: they are part of the text.
            const QStringView value = unguardedFromFormula(quoted ? text : text.trimmed());
            const auto cut = [value](int width) { return Text::cut(value.toString(), width); };
            const auto figure = [&](QStringView name, Decimal &into) {
                QString why;
                if (const std::optional<Decimal> read = logFigure(text, &why))
                    into = *read;
                else if (problem.isEmpty())
                    problem = named(name, text, why);
            };
            switch (format.items[i].code.unicode()) {
            case u'Q':
                fields.equipmentId = cut(10);
                break;
            case u'S':
                figure(u"Meter Start", fields.startMeter);
                break;
            case u'F':
                figure(u"Meter End", fields.endMeter);
                break;
            case u'U':
                figure(u"Units", fields.units);
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
                if (const std::optional<DayNumber> day =
                        date(text, format.dateFormat, format.referenceYear))
                    fields.date = *day;
                else if (problem.isEmpty())
                    problem = named(u"Date", text, u" Is Not a Date");
                break;
            case u'L':
                fields.location = cut(5).toUpper();
                break;
            case u'E':
                if (const std::optional<qint32> id = employee(text))
                    fields.employeeId = *id;
                else if (problem.isEmpty())
                    problem = named(u"Emp ID", text, u" Is Not an Employee Number");
                break;
            default:
                break;
            }
        });
    return quotes.isEmpty() ? problem : quotes;
}

} // namespace qaveq::ImportLine

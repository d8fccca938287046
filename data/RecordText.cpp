#include "RecordText.h"

#include "FileSchema.h"
#include "Record.h"

#include "core/SuiteDate.h"
#include "core/Text.h"

#include <QJsonValue>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace qaveq::data::RecordText {

namespace {

QString timeText(TimeOfDay time)
{
    const int hundredths = time % 100;
    const int seconds = time / 100;
    return u"%1:%2:%3.%4"_s.arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'))
        .arg(hundredths, 2, 10, QChar(u'0'));
}

std::optional<qint64> parseTime(const QString &text)
{
    if (text.isEmpty())
        return 0;
    static const QRegularExpression pattern(
        u"^(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,2}))?)?$"_s);
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt(), s = m.captured(3).toInt();
    const int hs = m.captured(4).leftJustified(2, u'0').toInt();
    if (h > 23 || min > 59 || s > 59)
        return std::nullopt;
    return ((h * 3600 + min * 60 + s) * 100) + hs;
}

QString readValue(const FieldDef &field, const QString &qualified, const QJsonValue &json,
                  FieldValue &out)
{
    switch (field.type) {
    case FieldType::Text: {
        if (!json.isString())
            return u"%1 must be a text"_s.arg(qualified);
        const QString text = Text::clip(json.toString());
        if (text.contains(QChar(0)))
            return u"%1 holds a NUL character"_s.arg(qualified);
        if (Text::hasControl(text))
            return u"%1 holds a line break, a tab or another control character"_s.arg(qualified);
        if (text.size() > field.width)
            return u"%1 is longer than %2 characters"_s.arg(qualified).arg(field.width);
        out = text;
        return {};
    }
    case FieldType::Decimal: {
        const QString doesNotFit = u"%1 does not fit %2 digits with %3 places"_s.arg(qualified)
                                       .arg(field.digits)
                                       .arg(field.places);
        std::optional<Decimal> value;
        QString text;
        if (json.isString()) {
            text = json.toString();
            value = Decimal::parsePlain(text);
        } else if (json.isDouble()) {
            // A JSON number is locale-free already; one beyond any amount
            // (1e308) does not fit, whatever its digits.
            const double number = json.toDouble();
            if (!(std::fabs(number) < 1e15))
                return doesNotFit;
            text = QString::number(number, 'f', field.places + 6);
            value = Decimal::parse(text);
        }
        if (!value)
            return u"%1 is not a number: %2"_s.arg(qualified, text.left(40));
        if (!value->fits(field.digits, field.places))
            return doesNotFit;
        out = value->stored(field.digits, field.places);
        return {};
    }
    case FieldType::Date: {
        const QString text = json.toString();
        if (!json.isString())
            return u"%1 must be a date YYYY-MM-DD"_s.arg(qualified);
        if (text.isEmpty()) {
            out = qint64(0);
            return {};
        }
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid() || !SuiteDate::isShown(SuiteDate::fromQDate(date)))
            return u"%1 is not a date of the years %2 to %3: %4"_s.arg(qualified)
                .arg(SuiteDate::FirstYear)
                .arg(SuiteDate::LastYear)
                .arg(text);
        out = qint64(SuiteDate::fromQDate(date));
        return {};
    }
    case FieldType::Time: {
        const std::optional<qint64> time =
            json.isString() ? parseTime(json.toString()) : std::nullopt;
        if (!time)
            return u"%1 is not a time HH:MM:SS.hh"_s.arg(qualified);
        out = *time;
        return {};
    }
    case FieldType::Integer: {
        qint64 value = 0;
        bool ok = false;
        if (json.isDouble()) {
            // Converting a double beyond 64 bits is undefined: range first.
            const double d = json.toDouble();
            ok = std::fabs(d) < 9e18;
            value = ok ? static_cast<qint64>(d) : 0;
            ok = ok && static_cast<double>(value) == d;
        } else if (json.isString()) {
            static const QRegularExpression plain(u"^-?[0-9]{1,18}$"_s);
            const QString text = json.toString();
            ok = plain.match(text).hasMatch();
            value = ok ? text.toLongLong() : 0;
        } else if (json.isBool()) {
            value = json.toBool() ? 1 : 0;
            ok = true;
        }
        if (!ok)
            return u"%1 is not a whole number"_s.arg(qualified);
        if (value < field.minimum || value > field.maximum)
            return u"%1 must be between %2 and %3"_s.arg(qualified)
                .arg(field.minimum)
                .arg(field.maximum);
        out = value;
        return {};
    }
    }
    return {};
}

} // namespace

QString fieldText(const FieldDef &field, const FieldValue &value)
{
    switch (field.type) {
    case FieldType::Text:
        return Text::clip(std::get<QString>(value));
    case FieldType::Decimal:
        return std::get<Decimal>(value).toString(field.places);
    case FieldType::Date: {
        const QDate date = SuiteDate::toQDate(static_cast<DayNumber>(std::get<qint64>(value)));
        return date.isValid() ? date.toString(Qt::ISODate) : QString();
    }
    case FieldType::Time:
        return timeText(static_cast<TimeOfDay>(std::get<qint64>(value)));
    case FieldType::Integer:
        return QString::number(std::get<qint64>(value));
    }
    return {};
}

namespace {

QString jsonString(const QString &text)
{
    QString quoted = u"\""_s;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            quoted += u"\\\""_s;
            break;
        case u'\\':
            quoted += u"\\\\"_s;
            break;
        case u'\n':
            quoted += u"\\n"_s;
            break;
        case u'\r':
            quoted += u"\\r"_s;
            break;
        case u'\t':
            quoted += u"\\t"_s;
            break;
        default:
            if (c.unicode() < 0x20)
                quoted += u"\\u%1"_s.arg(c.unicode(), 4, 16, QChar(u'0'));
            else
                quoted += c;
        }
    }
    return quoted + u'"';
}

} // namespace

QString toJsonLine(const Record &record)
{
    QStringList members;
    for (const FieldDef &field : record.schema().fields) {
        const FieldValue value = field.get(record);
        members.append(jsonString(field.name) + u':' +
                       (field.type == FieldType::Integer ? QString::number(std::get<qint64>(value))
                                                         : jsonString(fieldText(field, value))));
    }
    return u'{' + members.join(u',') + u'}';
}

QString spreadsheetCell(const QString &text)
{
    static const QString formulaStarts = u"=+-@\t\r"_s;
    if (text.isEmpty() || !formulaStarts.contains(text.front()) || Decimal::parse(text))
        return text;
    return u'\'' + text;
}

QString csvQuote(const QString &value)
{
    const QString text = spreadsheetCell(value);
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString csvHeader(const FileSchema &schema)
{
    QStringList names;
    for (const FieldDef &field : schema.fields)
        names.append(field.name);
    return names.join(u',');
}

QString csvRow(const Record &record)
{
    QStringList values;
    for (const FieldDef &field : record.schema().fields)
        values.append(csvQuote(fieldText(field, field.get(record))));
    return values.join(u',');
}

QString fromJson(const QJsonObject &object, Record &record, QStringList *present)
{
    const FileSchema &schema = record.schema();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const FieldDef *field = schema.field(it.key());
        if (!field)
            return u"unknown field \"%1\" in %2"_s.arg(it.key(), schema.name);
        FieldValue value;
        if (QString problem = readValue(*field, schema.qualified(*field), it.value(), value);
            !problem.isEmpty())
            return problem;
        field->set(record, value);
        if (present)
            present->append(field->name);
    }
    return {};
}

} // namespace qaveq::data::RecordText

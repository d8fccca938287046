#include "Picture.h"

#include <QLocale>
#include <QRegularExpression>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq {

std::optional<Picture> Picture::tryParse(QStringView text)
{
    static const QRegularExpression textPicture(u"^s(\\d+)$"_s);
    static const QRegularExpression numberPicture(u"^n(-)?([_0])?(\\d+)(?:\\.(\\d+))?(b)?$"_s);
    static const QRegularExpression datePicture(u"^d(0)?(\\d+)(b)?$"_s);
    static const QRegularExpression timePicture(u"^t(\\d+)(b)?$"_s);

    QString body = text.trimmed().toString().toLower();
    if (body.startsWith(u'@'))
        body.remove(0, 1);

    Picture picture;
    picture.m_text = u'@' + body;
    if (const auto m = textPicture.match(body); m.hasMatch()) {
        picture.m_kind = Kind::Text;
        picture.m_width = m.captured(1).toInt();
        return picture;
    }
    if (const auto m = numberPicture.match(body); m.hasMatch()) {
        picture.m_kind = Kind::Number;
        picture.m_sign = m.hasCaptured(1);
        picture.m_zeroFill = m.captured(2) == u"0";
        picture.m_grouping = !m.hasCaptured(2);
        picture.m_width = m.captured(3).toInt();
        picture.m_places = m.hasCaptured(4) ? m.captured(4).toInt() : 0;
        picture.m_blankWhenZero = m.hasCaptured(5);
        if (picture.m_places > Decimal::MaxPlaces || picture.m_width == 0)
            return std::nullopt;
        return picture;
    }
    if (const auto m = datePicture.match(body); m.hasMatch()) {
        picture.m_kind = Kind::Date;
        picture.m_zeroFill = m.hasCaptured(1);
        picture.m_format = m.captured(2).toInt();
        picture.m_blankWhenZero = m.hasCaptured(3);
        if (picture.m_format != 1 && picture.m_format != 2 && picture.m_format != 14 &&
            picture.m_format != 17)
            return std::nullopt;
        return picture;
    }
    if (const auto m = timePicture.match(body); m.hasMatch()) {
        picture.m_kind = Kind::Time;
        picture.m_format = m.captured(1).toInt();
        picture.m_blankWhenZero = m.hasCaptured(2);
        if (picture.m_format != 1 && picture.m_format != 3 && picture.m_format != 4 &&
            picture.m_format != 7)
            return std::nullopt;
        return picture;
    }
    return std::nullopt;
}

Picture Picture::parse(QStringView text)
{
    if (auto picture = tryParse(text))
        return *picture;
    throw std::invalid_argument("unknown picture: " + text.toString().toStdString());
}

QString Picture::format(const Decimal &number) const
{
    switch (m_kind) {
    case Kind::Text:
        return format(number.toString());
    case Kind::Date:
    case Kind::Time:
        return format(number.unitsAt(0));
    case Kind::Number:
        break;
    }
    const Decimal value = number.rounded(m_places);
    if (value.isZero() && m_blankWhenZero)
        return {};
    QString digits = value.toString(m_places);
    // The sign stays ahead: commas and filling zeros go behind it.
    const qsizetype sign = digits.startsWith(u'-') ? 1 : 0;
    if (m_grouping) {
        qsizetype point = digits.indexOf(u'.');
        if (point < 0)
            point = digits.size();
        if (point - sign > 3) {
            // Copied once with its commas rather than shifted for each one.
            QString grouped;
            grouped.reserve(digits.size() + point / 3);
            for (qsizetype i = 0; i < digits.size(); ++i) {
                if (i > sign && i < point && (point - i) % 3 == 0)
                    grouped += u',';
                grouped += digits.at(i);
            }
            digits = std::move(grouped);
        }
    }
    if (m_zeroFill) {
        const qsizetype room = m_width - digits.size();
        if (room > 0)
            digits.insert(sign, QString(room, u'0'));
    }
    return digits;
}

QString Picture::format(qint64 value) const
{
    switch (m_kind) {
    case Kind::Date:
        return formatDate(static_cast<DayNumber>(value));
    case Kind::Time:
        return formatTime(static_cast<TimeOfDay>(value));
    case Kind::Text:
        return format(QString::number(value));
    case Kind::Number:
        return format(Decimal(value));
    }
    return {};
}

QString Picture::format(const QString &text) const
{
    switch (m_kind) {
    case Kind::Text:
        return text.left(m_width);
    case Kind::Number:
        return format(Decimal::fromText(text));
    case Kind::Date:
    case Kind::Time:
        return format(text.toLongLong());
    }
    return {};
}

QString Picture::formatDate(DayNumber day) const
{
    // A day number of 0 is "no date": shown blank whatever the picture.
    const QDate date = SuiteDate::toQDate(day);
    if (!date.isValid())
        return {};
    if (m_format == 17)
        return QLocale().toString(date, QLocale::ShortFormat);
    // Built digit by digit: reports format a date on every line.
    int year = 0, month = 0, dayOfMonth = 0;
    date.getDate(&year, &month, &dayOfMonth);
    QString text;
    text.reserve(10);
    const auto twoDigits = [&text](int value) {
        text += QChar(u'0' + value / 10 % 10);
        text += QChar(u'0' + value % 10);
    };
    const auto monthDigits = [&](bool zeroFill) {
        if (zeroFill || month >= 10)
            twoDigits(month);
        else
            text += QChar(u'0' + month);
    };
    switch (m_format) {
    case 1:
    case 2:
        monthDigits(m_zeroFill);
        text += u'/';
        twoDigits(dayOfMonth);
        text += u'/';
        if (m_format == 1)
            twoDigits(year % 100);
        else
            text += QString::number(year);
        return text;
    case 14:
        monthDigits(true);
        text += u'/';
        text += QString::number(year);
        return text;
    }
    return {};
}

QString Picture::formatTime(TimeOfDay time) const
{
    if (time == 0 && m_blankWhenZero)
        return {};
    const QTime t = SuiteTime::toQTime(time);
    switch (m_format) {
    case 1:
        return t.toString(u"hh:mm"_s);
    case 3:
        return u"%1:%2%3"_s.arg(t.hour() % 12 == 0 ? 12 : t.hour() % 12)
            .arg(t.minute(), 2, 10, QChar(u'0'))
            .arg(t.hour() < 12 ? u"AM"_s : u"PM"_s);
    case 4:
        return t.toString(u"hh:mm:ss"_s);
    case 7:
        return QLocale().toString(t, QLocale::ShortFormat);
    }
    return {};
}

} // namespace qaveq

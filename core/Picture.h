#pragma once

#include "Decimal.h"
#include "SuiteDate.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace qaveq {

// A display picture of the suite: how a value is shown in lists, forms and
// reports. Pictures are case-insensitive and the leading "@" is optional.
//
//   @s10      text, at most 10 characters
//   @n-15.2   number: "-" shows the sign, 15 is the width, 2 the places;
//             "_" after "n" drops the "," grouping, "0" fills with zeros to
//             the width (no grouping); a trailing "b" shows zero as blank
//   @d1 m/dd/yy, @d01 mm/dd/yy, @d2 m/dd/yyyy, @d02 mm/dd/yyyy,
//   @d14 mm/yyyy, @d17 the platform's short date; "b" is blank for no date
//   @t1 hh:mm, @t3 h:mmAM/PM, @t4 hh:mm:ss, @t7 the platform's short time
//
// Numbers are rounded half away from zero to the places shown. A negative
// number always shows its "-", even under a picture without a sign, so that
// no figure reads as positive when it is not. Only zero fill pads to the
// width; aligning within a column is left to the list or report.
class Picture
{
public:
    enum class Kind { Text, Number, Date, Time };

    // Throws std::invalid_argument for a picture the formatter does not know.
    static Picture parse(QStringView text);
    static std::optional<Picture> tryParse(QStringView text);

    Kind kind() const { return m_kind; }
    int width() const { return m_width; }
    int places() const { return m_places; }
    QString text() const { return m_text; }

    QString format(const Decimal &number) const;
    // Integers: a number, a day number under a date picture, or a time of day
    // under a time picture.
    QString format(qint64 value) const;
    QString format(const QString &text) const;

private:
    Picture() = default;
    QString formatDate(DayNumber day) const;
    QString formatTime(TimeOfDay time) const;

    Kind m_kind = Kind::Text;
    QString m_text;
    int m_width = 0;
    int m_places = 0;
    int m_format = 0; // date or time format number
    bool m_sign = false;
    bool m_grouping = true;
    bool m_zeroFill = false;
    bool m_blankWhenZero = false;
};

} // namespace qaveq

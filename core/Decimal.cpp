#include "Decimal.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

using Units = __int128;

Units powerOfTen(int exponent)
{
    Units result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

Units multiplyChecked(Units a, Units b)
{
    Units result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        throw DecimalOverflow("decimal intermediate result out of range");
    return result;
}

Units addChecked(Units a, Units b)
{
    Units result = 0;
    if (__builtin_add_overflow(a, b, &result))
        throw DecimalOverflow("decimal intermediate result out of range");
    return result;
}

// Integer division rounding half away from zero.
Units divideRounded(Units numerator, Units denominator)
{
    Units quotient = numerator / denominator;
    Units remainder = numerator % denominator;
    if (remainder < 0)
        remainder = -remainder;
    Units absDenominator = denominator < 0 ? -denominator : denominator;
    if (2 * remainder >= absDenominator)
        quotient += ((numerator < 0) != (denominator < 0)) ? -1 : 1;
    return quotient;
}

Units rescale(Units units, int from, int to)
{
    if (to >= from)
        return multiplyChecked(units, powerOfTen(to - from));
    return divideRounded(units, powerOfTen(from - to));
}

QString unitsToString(Units units, int places)
{
    // Written from the last digit back into a buffer, in 64-bit steps where
    // the value allows: reports format a figure in every cell of every line.
    char16_t buffer[64];
    char16_t *const end = buffer + std::size(buffer);
    char16_t *at = end;
    const bool negative = units < 0;
    unsigned __int128 magnitude =
        negative ? -static_cast<unsigned __int128>(units) : static_cast<unsigned __int128>(units);
    int written = 0;
    const auto put = [&](unsigned digit) {
        *--at = char16_t(u'0' + digit);
        if (++written == places)
            *--at = u'.';
    };
    while (magnitude > std::numeric_limits<quint64>::max()) {
        put(unsigned(magnitude % 10));
        magnitude /= 10;
    }
    // A zero ahead of the point when the value is below one.
    for (auto small = quint64(magnitude); small > 0 || written <= places; small /= 10)
        put(unsigned(small % 10));
    if (negative)
        *--at = u'-';
    return QString(reinterpret_cast<const QChar *>(at), end - at);
}

} // namespace

Decimal::Decimal(Units units, int places)
    : m_units(units)
    , m_places(places)
{
    if (m_places > MaxPlaces) {
        m_units = rescale(m_units, m_places, MaxPlaces);
        m_places = MaxPlaces;
    }
    normalize();
}

void Decimal::normalize()
{
    // Nearly every value fits in 64 bits, where trailing zero places come
    // off far cheaper than in 128: every stored decimal and every sum of a
    // report comes through here.
    if (m_units >= std::numeric_limits<qint64>::min() &&
        m_units <= std::numeric_limits<qint64>::max()) {
        auto units = qint64(m_units);
        while (m_places > 0 && units % 10 == 0) {
            units /= 10;
            --m_places;
        }
        m_units = units;
    } else {
        while (m_places > 0 && m_units % 10 == 0) {
            m_units /= 10;
            --m_places;
        }
    }
    if (m_units == 0)
        m_places = 0;
}

Decimal Decimal::fromUnits(qint64 units, int places)
{
    if (places < 0)
        throw std::invalid_argument("negative decimal places");
    return Decimal(Units(units), places);
}

Decimal Decimal::fromDouble(double value, int places)
{
    if (!std::isfinite(value))
        throw DecimalOverflow("not a finite number");
    const double scaled = std::round(value * std::pow(10.0, places));
    if (std::fabs(scaled) >= 9.2e18)
        throw DecimalOverflow("number out of range");
    return Decimal(Units(static_cast<qint64>(scaled)), places);
}

std::optional<Decimal> Decimal::parse(QStringView text)
{
    try {
        return parseChecked(text);
    } catch (const DecimalOverflow &) {
        return std::nullopt;
    }
}

std::optional<Decimal> Decimal::parsePlain(QStringView text)
{
    const QStringView digits = text.startsWith(u'-') ? text.mid(1) : text;
    const qsizetype point = digits.indexOf(u'.');
    const auto allDigits = [](QStringView part) {
        return !part.isEmpty() && std::all_of(part.begin(), part.end(),
                                              [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (point < 0 ? !allDigits(digits)
                  : !allDigits(digits.left(point)) || !allDigits(digits.mid(point + 1)))
        return std::nullopt;
    return parse(text);
}

std::optional<Decimal> Decimal::parseChecked(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return Decimal();
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }
    Units units = 0;
    int places = 0;
    int digitCount = 0;
    bool inFraction = false;
    QChar previous;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        // ASCII digits only: other scripts' digits are not amounts here.
        if (c >= u'0' && c <= u'9') {
            const int digit = c.unicode() - u'0';
            if (inFraction && places >= MaxPlaces) {
                // Rounding of further places: only the first one matters.
                if (places == MaxPlaces && digit >= 5)
                    units = addChecked(units, 1);
                places = MaxPlaces + 1;
            } else {
                units = addChecked(multiplyChecked(units, 10), digit);
                if (inFraction)
                    ++places;
            }
            ++digitCount;
        } else if (c == u',' && !inFraction && previous >= u'0' && previous <= u'9') {
            // grouping separator between digits of the integer part
        } else if (c == u'.' && !inFraction) {
            inFraction = true;
        } else {
            return std::nullopt;
        }
        previous = c;
    }
    if (digitCount == 0 || previous == u',')
        return std::nullopt;
    return Decimal(negative ? -units : units, std::min(places, MaxPlaces));
}

Decimal Decimal::fromText(QStringView text)
{
    return parse(text).value_or(Decimal());
}

Decimal Decimal::rounded(int places) const
{
    if (places >= m_places)
        return *this;
    return Decimal(rescale(m_units, m_places, places), places);
}

bool Decimal::fits(int digits, int places) const
{
    const Decimal r = rounded(places);
    const Units limit = powerOfTen(digits - places);
    const Units integerPart = (r.m_units < 0 ? -r.m_units : r.m_units) / powerOfTen(r.m_places);
    return integerPart < limit;
}

Decimal Decimal::stored(int digits, int places) const
{
    if (!fits(digits, places))
        throw DecimalOverflow(u"%1 does not fit %2.%3 digits"_s.arg(toString())
                                  .arg(digits)
                                  .arg(places)
                                  .toStdString());
    return rounded(places);
}

qint64 Decimal::unitsAt(int places) const
{
    const Units scaled = rescale(m_units, m_places, places);
    if (scaled > Units(INT64_MAX) || scaled < Units(INT64_MIN))
        throw DecimalOverflow("decimal out of the stored range");
    return static_cast<qint64>(scaled);
}

double Decimal::toDouble() const
{
    return static_cast<double>(m_units) / std::pow(10.0, m_places);
}

QString Decimal::toString() const
{
    return unitsToString(m_units, m_places);
}

QString Decimal::toString(int places) const
{
    return unitsToString(rescale(m_units, m_places, places), places);
}

Decimal Decimal::operator-() const
{
    return Decimal(-m_units, m_places);
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    const int places = std::max(a.m_places, b.m_places);
    return Decimal(
        addChecked(rescale(a.m_units, a.m_places, places), rescale(b.m_units, b.m_places, places)),
        places);
}

Decimal operator-(const Decimal &a, const Decimal &b)
{
    return a + (-b);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    return Decimal(multiplyChecked(a.m_units, b.m_units), a.m_places + b.m_places);
}

Decimal operator/(const Decimal &a, const Decimal &b)
{
    if (b.m_units == 0)
        throw std::domain_error("decimal division by zero");
    // a/b = (ua / 10^pa) / (ub / 10^pb); carry the quotient to MaxPlaces places.
    const int shift = Decimal::MaxPlaces + b.m_places - a.m_places;
    const Units numerator = shift >= 0 ? multiplyChecked(a.m_units, powerOfTen(shift)) : a.m_units;
    const Units denominator =
        shift >= 0 ? b.m_units : multiplyChecked(b.m_units, powerOfTen(-shift));
    return Decimal(divideRounded(numerator, denominator), Decimal::MaxPlaces);
}

bool operator==(const Decimal &a, const Decimal &b)
{
    return a.m_units == b.m_units && a.m_places == b.m_places; // both normalized
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    const int places = std::max(a.m_places, b.m_places);
    const Units ua = rescale(a.m_units, a.m_places, places);
    const Units ub = rescale(b.m_units, b.m_places, places);
    return ua < ub ? std::strong_ordering::less
                   : (ua > ub ? std::strong_ordering::greater : std::strong_ordering::equal);
}

} // namespace qaveq

#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace qaveq {

// Raised when a value does not fit the digits declared for it, or when an
// intermediate result leaves the range the arithmetic can carry exactly.
class DecimalOverflow : public std::overflow_error
{
public:
    using std::overflow_error::overflow_error;
};

// Exact signed fixed-point number.
//
// Arithmetic is exact for addition, subtraction and multiplication (up to
// MaxPlaces decimal places); quotients are carried to MaxPlaces places.
// Fractions beyond MaxPlaces are rounded half away from zero.
//
// The store rule: a value assigned to a field declared with `digits` total
// digits and `places` decimal places (money is 15.2) is rounded half away
// from zero to `places`; a value whose integer part then needs more than
// `digits - places` digits is an overflow, never a silent wrap. Every write
// of a record applies this rule through stored().
class Decimal
{
public:
    static constexpr int MaxPlaces = 18;

    constexpr Decimal() = default;
    Decimal(int value)
        : m_units(value)
    {} // NOLINT: plain integers convert naturally
    Decimal(qint64 value)
        : m_units(value)
    {} // NOLINT

    // units / 10^places, e.g. fromUnits(12345, 2) == 123.45
    static Decimal fromUnits(qint64 units, int places);
    // Rounds half away from zero to `places`.
    static Decimal fromDouble(double value, int places);

    // Strict: accepts optional sign, ASCII digits with "," grouping and a
    // fraction ("1,234.50", "-12.5"); empty or blank text is 0. Anything else,
    // and a number beyond the range, is nullopt.
    static std::optional<Decimal> parse(QStringView text);
    // The plain grammar of files, the same in every locale: an optional "-",
    // ASCII digits, and a "." with more digits ("-1234.50"). No grouping, no
    // blanks, no empty text: "1,5" is not 15.
    static std::optional<Decimal> parsePlain(QStringView text);
    // Lenient: text that is not a number reads as 0.
    static Decimal fromText(QStringView text);

    int places() const { return m_places; }
    bool isZero() const { return m_units == 0; }
    bool isNegative() const { return m_units < 0; }

    Decimal rounded(int places) const;
    // Applies the store rule (see above); throws DecimalOverflow.
    Decimal stored(int digits, int places) const;
    bool fits(int digits, int places) const;

    // The value scaled to `places` (after rounding), for storage as an integer.
    qint64 unitsAt(int places) const;
    double toDouble() const;
    // Plain text without grouping: all significant places, or exactly `places`.
    QString toString() const;
    QString toString(int places) const;

    Decimal operator-() const;
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b);
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    // Throws std::domain_error on division by zero.
    friend Decimal operator/(const Decimal &a, const Decimal &b);
    Decimal &operator+=(const Decimal &other) { return *this = *this + other; }
    Decimal &operator-=(const Decimal &other) { return *this = *this - other; }

    friend bool operator==(const Decimal &a, const Decimal &b);
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b);

private:
    using Units = __int128;
    Decimal(Units units, int places);
    // parse(), throwing DecimalOverflow for a number beyond the range.
    static std::optional<Decimal> parseChecked(QStringView text);
    void normalize();

    Units m_units = 0; // value * 10^m_places, kept without trailing zero places
    int m_places = 0;
};

} // namespace qaveq

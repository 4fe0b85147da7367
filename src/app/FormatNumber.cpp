#include "FormatNumber.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

QChar DecimalSeparator = QLatin1Char('.');
QChar ThousandSeparator = QLatin1Char(',');

namespace {

// Precision of the value as the patterns see it, and of the general format.
constexpr int kPatternDigits = 18;
constexpr int kGeneralDigits = 15;
// Rounded values with this many integer digits go to the general format.
constexpr int kMaxIntegerDigits = 19;

// A decimal number 0.d1d2d3... x 10^exponent: significant digits without
// leading or trailing zeros; no digits at all is zero.
struct Decimal {
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return digits.empty(); }
};

// The digits of m x 2^k exactly, for |k| up to a few hundred: m x 2^k as
// an integer when k >= 0, else m x 5^-k x 10^k. Worked in base 10^9 limbs;
// false when the figure is out of that range (the caller prints it then).
// A refresh formats three figures per row: printing a long double to its
// last digit costs many times this.
bool ExactDecimalByLimbs(long double v, int e2, Decimal& d)
{
    constexpr int kMantissa = LDBL_MANT_DIG;
    static_assert(kMantissa <= 64, "the mantissa must fit 64 bits");
    const int k = e2 - kMantissa;
    if (k > 300 || k < -300)
        return false;
    // v = m x 2^k with m an integer below 2^64: scaling by a power of two is exact.
    const auto m = static_cast<unsigned long long>(std::ldexp(v, -k));
    constexpr std::uint32_t kBase = 1000000000u;
    std::vector<std::uint32_t> limbs; // least significant first
    for (unsigned long long rest = m; rest; rest /= kBase)
        limbs.push_back(std::uint32_t(rest % kBase));
    auto multiply = [&limbs](std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t x = std::uint64_t(limb) * factor + carry;
            limb = std::uint32_t(x % kBase);
            carry = x / kBase;
        }
        for (; carry; carry /= kBase)
            limbs.push_back(std::uint32_t(carry % kBase));
    };
    int exponent10 = 0;
    if (k >= 0) {
        for (int left = k; left > 0; left -= 16)
            multiply(1u << std::min(left, 16));
    } else {
        for (int left = -k; left > 0; left -= 12) {
            std::uint32_t five = 1;
            for (int i = 0; i < std::min(left, 12); ++i)
                five *= 5;
            multiply(five);
        }
        exponent10 = k;
    }
    std::string digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        const std::string part = std::to_string(limbs[i]);
        digits.append(9 - part.size(), '0');
        digits += part;
    }
    d.exponent = int(digits.size()) + exponent10;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    d.digits = std::move(digits);
    return true;
}

// The exact decimal expansion of |v| (v finite). glibc prints a long double
// exactly when asked for enough digits; the bound below covers every
// mantissa bit, so nothing is rounded here.
Decimal ExactDecimal(long double v)
{
    Decimal d;
    v = std::fabs(v);
    if (v == 0)
        return d;
    int e2 = 0;
    std::frexp(v, &e2); // v = f x 2^e2, 0.5 <= f < 1
    if (ExactDecimalByLimbs(v, e2, d))
        return d;
    constexpr int kMantissa = LDBL_MANT_DIG;
    // Integer part: at most e2 x log10(2) + 1 digits; each mantissa bit
    // below 2^0 adds one decimal place.
    const int fractionBits = kMantissa - e2 > 0 ? kMantissa - e2 : 0;
    const int precision = 40 + (e2 > 0 ? e2 : -e2) * 31 / 100 + fractionBits;
    std::vector<char> buf(std::size_t(precision) + 32);
    std::snprintf(buf.data(), buf.size(), "%.*Le", precision, v);
    // Form: d.ddddde[+-]x
    const char* p = buf.data();
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            d.digits.push_back(*p);
    const int exp10 = *p == 'e' ? std::atoi(p + 1) : 0;
    d.exponent = exp10 + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    std::size_t lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == '0')
        ++lead;
    d.digits.erase(0, lead);
    d.exponent -= int(lead);
    if (d.digits.empty())
        d.exponent = 0;
    return d;
}

// Keeps the first `kept` significant digits, rounding half away from zero on
// the first digit dropped. A carry out of the first digit moves the point.
void RoundAt(Decimal& d, int kept)
{
    if (d.IsZero() || kept >= int(d.digits.size()))
        return;
    if (kept < 0) {
        d = Decimal{};
        return;
    }
    const bool up = d.digits[std::size_t(kept)] >= '5';
    d.digits.resize(std::size_t(kept));
    if (up) {
        int i = kept - 1;
        while (i >= 0 && d.digits[std::size_t(i)] == '9')
            d.digits[std::size_t(i--)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[std::size_t(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

// Rounds to `decimals` places after the point.
void RoundToDecimals(Decimal& d, int decimals)
{
    RoundAt(d, d.exponent + decimals);
}

// Integer digits (no leading zeros; empty below 1).
std::string IntegerDigits(const Decimal& d)
{
    if (d.exponent <= 0)
        return {};
    std::string s = d.digits.substr(0, std::size_t(d.exponent));
    s.resize(std::size_t(d.exponent), '0');
    return s;
}

// Fraction digits up to the last non-zero one.
std::string FractionDigits(const Decimal& d)
{
    if (d.exponent >= int(d.digits.size()))
        return {};
    if (d.exponent >= 0)
        return d.digits.substr(std::size_t(d.exponent));
    return std::string(std::size_t(-d.exponent), '0') + d.digits;
}

QString Latin(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// The general format: 15 significant digits, fixed-point while the value has
// at most 15 integer digits and is at least 0.00001, else scientific with an
// exponent without leading zeros ("1.5E20", "1E-7").
QString GeneralFormat(long double value)
{
    Decimal d = ExactDecimal(value);
    RoundAt(d, kGeneralDigits);
    if (d.IsZero())
        return QStringLiteral("0");
    QString out;
    if (std::signbit(value))
        out += QLatin1Char('-');
    if (d.exponent > kGeneralDigits || d.exponent < -4) {
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1)
            out += DecimalSeparator + Latin(d.digits.substr(1));
        out += QLatin1Char('E') + QString::number(d.exponent - 1);
        return out;
    }
    const std::string intPart = IntegerDigits(d);
    out += intPart.empty() ? QStringLiteral("0") : Latin(intPart);
    const std::string frac = FractionDigits(d);
    if (!frac.empty())
        out += DecimalSeparator + Latin(frac);
    return out;
}

// One section of a pattern, parsed.
struct Section {
    enum class Kind { Digit, Literal, Exponent };
    struct Item {
        Kind kind;
        QString text;          // Literal: the text; Exponent: "E" or "e"
        bool zero = false;     // Digit: "0" rather than "#"
        bool signAlways = false; // Exponent: "E+" writes "+" too
        int expDigits = 0;     // Exponent: least number of digits
    };
    std::vector<Item> items;
    int intPlaces = 0;   // placeholders before the decimal point
    int fracPlaces = 0;  // placeholders after it
    int firstZero = -1;  // placeholder indices of the first and last "0"
    int lastZero = -1;
    bool grouping = false;
    bool scientific = false;
};

void AddLiteral(Section& s, const QString& text)
{
    if (text.isEmpty())
        return;
    if (!s.items.empty() && s.items.back().kind == Section::Kind::Literal)
        s.items.back().text += text;
    else
        s.items.push_back({Section::Kind::Literal, text});
}

Section ParseSection(const QString& text)
{
    Section s;
    bool point = false;
    bool afterExponent = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype end = text.indexOf(c, i + 1);
            if (end < 0)
                end = n; // an unclosed quote runs to the end of the section
            AddLiteral(s, text.mid(i + 1, end - i - 1));
            i = end;
        } else if (c == QLatin1Char('#') || c == QLatin1Char('0')) {
            if (afterExponent)
                continue; // the mantissa's digits end at the exponent
            const int index = s.intPlaces + s.fracPlaces;
            Section::Item item{Section::Kind::Digit, {}};
            item.zero = c == QLatin1Char('0');
            if (item.zero) {
                if (s.firstZero < 0)
                    s.firstZero = index;
                s.lastZero = index;
            }
            s.items.push_back(item);
            ++(point ? s.fracPlaces : s.intPlaces);
        } else if (c == QLatin1Char('.')) {
            if (!afterExponent)
                point = true; // a second "." is dropped
        } else if (c == QLatin1Char(',')) {
            s.grouping = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !s.scientific && i + 1 < n
                   && (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-'))) {
            Section::Item item{Section::Kind::Exponent, QString(c)};
            item.signAlways = text.at(i + 1) == QLatin1Char('+');
            i += 2;
            while (i < n && text.at(i) == QLatin1Char('0')) {
                ++item.expDigits;
                ++i;
            }
            --i;
            s.items.push_back(item);
            s.scientific = true;
            afterExponent = true;
        } else {
            AddLiteral(s, QString(c));
        }
    }
    return s;
}

// Splits a pattern on ";" outside quotes; at most three sections count.
std::vector<QString> SplitSections(const QString& pattern)
{
    std::vector<QString> sections(1);
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            if (sections.size() == 3)
                break;
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    sections.resize(3);
    return sections;
}

// Writes a section for a rounded magnitude: `intDigits` and `fracDigits` are
// the digits the value has (no leading integer zeros, no trailing fraction
// zeros); `exponent` is written at the exponent item of a scientific section.
QString WriteSection(const Section& s, const std::string& intDigits, const std::string& fracDigits, int exponent,
                     bool minus)
{
    QString out;
    if (minus)
        out += QLatin1Char('-');
    const bool grouping = s.grouping && !s.scientific;
    const int len = int(intDigits.size());
    bool pointWritten = false;
    int k = 0; // placeholder index
    auto writeInt = [&](char digit, int power) {
        out += QLatin1Char(digit);
        if (grouping && power > 0 && power % 3 == 0)
            out += ThousandSeparator;
    };
    auto writeFrac = [&](char digit) {
        if (!pointWritten) {
            out += DecimalSeparator;
            pointWritten = true;
        }
        out += QLatin1Char(digit);
    };
    for (const Section::Item& item : s.items) {
        switch (item.kind) {
        case Section::Kind::Literal:
            out += item.text;
            break;
        case Section::Kind::Exponent: {
            out += item.text;
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (item.signAlways)
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(item.expDigits, QLatin1Char('0'));
            break;
        }
        case Section::Kind::Digit: {
            const bool forced = k >= s.firstZero && k <= s.lastZero && s.firstZero >= 0;
            if (k == 0) // integer digits beyond the placeholders all go here
                for (int power = len - 1; power >= s.intPlaces; --power)
                    writeInt(intDigits[std::size_t(len - 1 - power)], power);
            if (k < s.intPlaces) {
                const int power = s.intPlaces - 1 - k;
                if (power < len)
                    writeInt(intDigits[std::size_t(len - 1 - power)], power);
                else if (forced)
                    writeInt('0', power);
            } else {
                const int j = k - s.intPlaces;
                if (j < int(fracDigits.size()))
                    writeFrac(fracDigits[std::size_t(j)]);
                else if (forced)
                    writeFrac('0');
            }
            ++k;
            break;
        }
        }
    }
    return out;
}

// Scientific notation: the mantissa has as many significant digits as the
// section has placeholders before the exponent, as many of them before the
// point as there are integer placeholders.
QString WriteScientific(const Section& s, Decimal d, bool minus)
{
    const int places = s.intPlaces + s.fracPlaces > 0 ? s.intPlaces + s.fracPlaces : 1;
    RoundAt(d, places);
    int exponent = 0;
    std::string intDigits;
    std::string fracDigits;
    if (!d.IsZero()) {
        exponent = d.exponent - s.intPlaces;
        std::string all = d.digits;
        all.resize(std::size_t(places), '0');
        intDigits = all.substr(0, std::size_t(s.intPlaces));
        fracDigits = all.substr(std::size_t(s.intPlaces));
        while (!fracDigits.empty() && fracDigits.back() == '0')
            fracDigits.pop_back();
    }
    return WriteSection(s, intDigits, fracDigits, exponent, minus);
}

} // namespace

QString FormatNumber(long double value, const QString& pattern)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const std::vector<QString> sections = SplitSections(pattern);
    // An absent or empty section is replaced by the first one.
    auto textOf = [&](int index) -> const QString& {
        const QString& text = sections[std::size_t(index)];
        return text.isEmpty() ? sections[0] : text;
    };
    // The zero section, also for values that round to zero in their own.
    auto writeZero = [&]() {
        if (textOf(2).isEmpty())
            return GeneralFormat(value);
        const Section zero = ParseSection(textOf(2));
        return zero.scientific ? WriteScientific(zero, Decimal{}, false) : WriteSection(zero, {}, {}, 0, false);
    };

    const bool negative = value < 0;
    if (value == 0)
        return writeZero();
    const int chosen = negative ? 1 : 0;
    if (textOf(chosen).isEmpty())
        return GeneralFormat(value);
    const Section section = ParseSection(textOf(chosen));
    // We write the sign only when the first section serves a negative value;
    // an own negative section writes the magnitude.
    const bool minus = negative && sections[1].isEmpty();

    Decimal d = ExactDecimal(value);
    RoundAt(d, kPatternDigits);
    if (section.scientific)
        return WriteScientific(section, d, minus);
    RoundToDecimals(d, section.fracPlaces);
    if (d.IsZero())
        return writeZero();
    const std::string intDigits = IntegerDigits(d);
    if (int(intDigits.size()) >= kMaxIntegerDigits)
        return GeneralFormat(value);
    return WriteSection(section, intDigits, FractionDigits(d), 0, minus);
}

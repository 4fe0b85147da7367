// FormatNumber on any pattern and value. The input is the value, then a 00
// byte, then the pattern (UTF-8). The value is a number as strtold reads it
// ("1234.5", "-0x1p-3", "nan", "inf"); an input starting with "B" carries
// the value's ten bytes instead.
//
// Properties:
// - any pattern: the text is at most two characters per pattern character
//   plus 64 (sign, separator, the digits beyond the placeholders, an
//   exponent); not-a-number and infinities write NAN, INF, -INF;
// - "0": an integer within 0.5 of the value (plus the 18-digit precision
//   the value is taken at);
// - "0.000..." (1 to 8 decimals): that many decimals, within half a unit of
//   the last one;
// - "#,##0": the "0" text grouped by three with ",".
#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "app/FormatNumber.h"

using namespace kestrix::fuzz;

namespace {

std::string Describe(long double v, const QString& pattern, const QString& text)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.21Lg", v);
    return std::string("value ") + buf + ", pattern " + Printable(pattern.toUtf8()) + " -> " + Printable(text.toUtf8());
}

// The value of a text of the form -?digits(.digits)?, exactly enough for
// the comparisons below (long double holds 19 digits).
long double Parse(const QString& text)
{
    return std::strtold(text.toLatin1().constData(), nullptr);
}

// How far a pattern's text may lie from the value: half a unit of its last
// place, and the rounding of the value to 18 significant digits first.
long double Slack(long double v, int decimals)
{
    return 0.5L * std::pow(10.0L, -decimals) + 6e-18L * std::fabs(v) + 1e-30L;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(bytes), qsizetype(size));
    long double v = 0;
    QByteArray rest;
    if (input.startsWith('B')) {
        if (input.size() < 11)
            return 0;
        std::memcpy(&v, input.constData() + 1, 10);
        rest = input.mid(11);
    } else {
        const qsizetype zero = input.indexOf('\0');
        v = std::strtold(input.left(zero < 0 ? input.size() : zero).constData(), nullptr);
        rest = zero < 0 ? QByteArray() : input.mid(zero + 1);
    }
    const QString pattern = QString::fromUtf8(rest.left(4096));

    const QString text = FormatNumber(v, pattern);
    Check(text.size() <= 2 * pattern.size() + 64, "the text is bounded: " + Describe(v, pattern, text));
    if (std::isnan(v) || std::isinf(v)) {
        Check(text == (std::isnan(v) ? "NAN" : v < 0 ? "-INF" : "INF"), "not a finite number: " + Describe(v, pattern, text));
        return 0;
    }
    // Beyond 18 integer digits the general format takes over.
    if (std::fabs(v) >= 1e17L)
        return 0;

    const QString whole = FormatNumber(v, QStringLiteral("0"));
    static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
    Check(integer.match(whole).hasMatch(), "\"0\" writes an integer: " + Describe(v, "0", whole));
    Check(std::fabs(Parse(whole) - v) <= Slack(v, 0), "\"0\" is within 0.5: " + Describe(v, "0", whole));
    Check(whole != "-0", "\"0\" writes no negative zero: " + Describe(v, "0", whole));

    const int decimals = 1 + int(size % 8);
    const QString fixedPattern = QStringLiteral("0.") + QString(decimals, u'0');
    const QString fixed = FormatNumber(v, fixedPattern);
    const QRegularExpression fixedForm(QStringLiteral("^-?[0-9]+\\.[0-9]{%1}$").arg(decimals));
    Check(fixedForm.match(fixed).hasMatch(), "a fixed number of decimals: " + Describe(v, fixedPattern, fixed));
    Check(std::fabs(Parse(fixed) - v) <= Slack(v, decimals), "within half the last place: " + Describe(v, fixedPattern, fixed));

    const QString grouped = FormatNumber(v, QStringLiteral("#,##0"));
    static const QRegularExpression groups(QStringLiteral("^-?[0-9]{1,3}(,[0-9]{3})*$"));
    Check(groups.match(grouped).hasMatch() && QString(grouped).remove(u',') == whole,
          "grouped by three: " + Describe(v, "#,##0", grouped) + " for " + whole.toStdString());
    return 0;
}

// The number patterns, checked against texts worked out by hand from the
// rules: sections, placeholders, rounding, literal text, grouping, sign.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "app/FormatNumber.h"
#include "support/TestSupport.h"

namespace {

constexpr long double KB = 1024.0L;
constexpr long double MB = 1048576.0L;
constexpr long double GB = 1073741824.0L;

std::string F(long double value, const char* pattern)
{
    return FormatNumber(value, QString::fromUtf8(pattern)).toStdString();
}

} // namespace

TEST(FormatNumberDesignTable, RowPatterns)
{
    EXPECT_EQ(F(1234, "#,###;;0"), "1,234");
    EXPECT_EQ(F(999.5L, "#,###;;0"), "1,000");
    EXPECT_EQ(F(0, "#,###;;0"), "0");
    EXPECT_EQ(F(0.4L, "#,###;;0"), "0");
    EXPECT_EQ(F(-1, "#,###;;0"), "-1");
    EXPECT_EQ(F(1234.5L, "#,##0.00;;0"), "1,234.50");
    EXPECT_EQ(F(0.5L, "#,##0.00;;0"), "0.50");
    EXPECT_EQ(F(0.006L, "#,##0.00;;0"), "0.01");
    EXPECT_EQ(F(0.004L, "#,##0.00;;0"), "0");
}

TEST(FormatNumberDesignTable, TotalsPatternsKeepTheirLeadingSpace)
{
    EXPECT_EQ(F(1234, " #,###"), " 1,234");
    EXPECT_EQ(F(0, " #,###"), " ");
    EXPECT_EQ(F(0, " #,##0.00"), " 0.00");
    EXPECT_EQ(F(1234.5L, " #,##0.00"), " 1,234.50");
}

TEST(FormatNumberUnits, FiguresOfOneDriveInEveryUnit)
{
    // 1023 bytes: 0.9990234375 KB, 0.00097560882568359375 MB.
    EXPECT_EQ(F(1023.0L / 1, "#,###;;0"), "1,023");
    EXPECT_EQ(F(1023.0L / KB, "#,###;;0"), "1");
    EXPECT_EQ(F(1023.0L / MB, "#,##0.00;;0"), "0");
    EXPECT_EQ(F(1023.0L / GB, "#,##0.00;;0"), "0");
    // 5,368,710 bytes: 5.1200008392... MB, 0.0050000008195... GB.
    EXPECT_EQ(F(5368710.0L / MB, "#,##0.00;;0"), "5.12");
    EXPECT_EQ(F(5368710.0L / GB, "#,##0.00;;0"), "0.01");
    // 5,368,709 bytes: 0.0049999998882... GB.
    EXPECT_EQ(F(5368709.0L / GB, "#,##0.00;;0"), "0");
    // A drive of 0 free bytes reads "0" in every unit, never an empty text.
    for (long double divisor : {1.0L, KB, MB, GB}) {
        EXPECT_EQ(F(0 / divisor, "#,###;;0"), "0");
        EXPECT_EQ(F(0 / divisor, "#,##0.00;;0"), "0");
    }
    // A size of -1 (a drive that stopped answering) in kilobytes rounds to zero.
    EXPECT_EQ(F(-1.0L / KB, "#,###;;0"), "0");
}

TEST(FormatNumberDetails, PatternWithTrailingBlanks)
{
    EXPECT_EQ(F(1234567, "#,###  ;;0  "), "1,234,567  ");
    EXPECT_EQ(F(0, "#,###  ;;0  "), "0  ");
    EXPECT_EQ(F(-1234, "#,###  ;;0  "), "-1,234  ");
}

TEST(FormatNumberPercentages, LiteralPointStaysBeforeTheLastTwoDigits)
{
    const char* used = "###\".\"00%;;0.00%";
    const char* wasted = "#0\".\"00%;;0.00%";
    EXPECT_EQ(F(4568, used), "45.68%");
    EXPECT_EQ(F(40, used), ".40%");      // 0.4 %
    EXPECT_EQ(F(5, used), ".05%");       // 0.05 %: the "0" placeholders are forced
    EXPECT_EQ(F(10000, used), "100.00%");
    EXPECT_EQ(F(4567.5L, used), "45.68%"); // rounded to a whole number first
    EXPECT_EQ(F(0, used), "0.00%");
    EXPECT_EQ(F(0.3L, used), "0.00%");   // rounds to zero: the zero section
    EXPECT_EQ(F(4568, wasted), "45.68%");
    EXPECT_EQ(F(40, wasted), "0.40%");
    EXPECT_EQ(F(5, wasted), "0.05%");
    EXPECT_EQ(F(0, wasted), "0.00%");
}

TEST(FormatNumberSections, ChoiceAndFallbacks)
{
    // An own negative section writes the magnitude, without a minus.
    EXPECT_EQ(F(-1234, "#,##0;(#,##0)"), "(1,234)");
    EXPECT_EQ(F(1234, "#,##0;(#,##0)"), "1,234");
    EXPECT_EQ(F(0, "#,##0;(#,##0)"), "0");       // third absent: the first
    EXPECT_EQ(F(0, "#,##0;(#,##0);nil"), "nil");
    // Rounding to zero in the negative section goes to the zero section.
    EXPECT_EQ(F(-0.3L, "#,##0;(#,##0);nil"), "nil");
    EXPECT_EQ(F(-0.004L, "#,##0.00;;0"), "0");
    // Negative zero is exactly zero.
    EXPECT_EQ(F(-0.0L, "#,###;;0"), "0");
    EXPECT_EQ(F(-0.0L, "#,##0.00"), "0.00");
    // All sections empty: the general format.
    EXPECT_EQ(F(1234.5L, ""), "1234.5");
    EXPECT_EQ(F(-1234.5L, ";;"), "-1234.5");
    EXPECT_EQ(F(0, ""), "0");
    // Only the zero section given: zero uses it, other values the general format.
    EXPECT_EQ(F(0, ";;zero"), "zero");
    EXPECT_EQ(F(5, ";;zero"), "5");
    // Sections beyond the third are ignored.
    EXPECT_EQ(F(0, "0;0;z;w"), "z");
}

TEST(FormatNumberSections, QuotesHideSeparatorsAndPlaceholders)
{
    EXPECT_EQ(F(5, "0' a;b'"), "5 a;b");
    EXPECT_EQ(F(-5, "0' a;b'"), "-5 a;b"); // the ";" did not open a section
    EXPECT_EQ(F(7, "\"#,.0\"0"), "#,.07");
    EXPECT_EQ(F(7, "0'unclosed;x"), "7unclosed;x");
}

TEST(FormatNumberPlaceholders, OptionalAndForcedDigits)
{
    EXPECT_EQ(F(42, "00000"), "00042");
    EXPECT_EQ(F(5, "0,000"), "0,005");      // forced zeros are grouped like digits
    EXPECT_EQ(F(1, "0.#0"), "1.00");        // "#" between two "0" is forced
    EXPECT_EQ(F(1, "0.0#"), "1.0");
    EXPECT_EQ(F(1.25L, "0.0#"), "1.25");
    EXPECT_EQ(F(1.2L, "0.0#"), "1.2");
    EXPECT_EQ(F(0.5L, "#.##"), ".5");
    EXPECT_EQ(F(3, "#.##"), "3");           // no fraction written: no separator
    EXPECT_EQ(F(0.001L, "#.##"), "");       // rounds to zero, nothing to write
    EXPECT_EQ(F(1.05L, "0.##"), "1.05");    // an inner zero is a digit of the value
    EXPECT_EQ(F(105, "#"), "105");
    EXPECT_EQ(F(1.25L, "0.0.0"), "1.25");   // the second "." is dropped
    EXPECT_EQ(F(1.5L, "0.0.0"), "1.50");
}

TEST(FormatNumberPlaceholders, ExtraIntegerDigitsGoToTheFirstPlaceholder)
{
    EXPECT_EQ(F(123456, "0"), "123456");
    EXPECT_EQ(F(1234, "x0y"), "x1234y");
    EXPECT_EQ(F(1234, "0-0"), "123-4");
    EXPECT_EQ(F(12.5L, ".00"), "12.50");
    EXPECT_EQ(F(1234567, "#,##0' units'"), "1,234,567 units");
    EXPECT_EQ(F(1234567890123LL, "#,###"), "1,234,567,890,123");
    EXPECT_EQ(F(12345, "0000,"), "12,345"); // a "," anywhere turns grouping on
    EXPECT_EQ(F(5, "abc"), "abc");          // no placeholder, no digits
}

TEST(FormatNumberSign, MinusComesBeforeLiteralText)
{
    EXPECT_EQ(F(-5, "'$'#,##0"), "-$5");
    EXPECT_EQ(F(-1234.5L, " #,##0.00"), "- 1,234.50");
    EXPECT_EQ(F(-40, "###\".\"00%"), "-.40%");
}

TEST(FormatNumberRounding, HalfAwayFromZero)
{
    EXPECT_EQ(F(2.5L, "0"), "3");
    EXPECT_EQ(F(-2.5L, "0"), "-3");
    EXPECT_EQ(F(0.125L, "0.00"), "0.13");
    EXPECT_EQ(F(-0.125L, "0.00"), "-0.13");
    EXPECT_EQ(F(9.995L, "0.00"), "10.00"); // 9.9949999999999999998... is 9.995 at 18 digits
    EXPECT_EQ(F(99.96L, "#,##0.0"), "100.0");
}

TEST(FormatNumberRounding, ValueIsFirstTakenToEighteenDigits)
{
    // 1.005L is 1.0049999999999999999957 ...: 18 digits make it 1.005.
    EXPECT_EQ(F(1.005L, "0.00"), "1.01");
    // The double 1.005 is 1.00499999999999989342 ...: it stays below.
    EXPECT_EQ(F(static_cast<long double>(1.005), "0.00"), "1.00");
    // 0.5 - 2^-65 = 0.49999999999999999997 ... rounds to 0.5 at 18 digits.
    EXPECT_EQ(F(0.5L - std::ldexp(1.0L, -65), "#;;z"), "1");
    // 0.5 - 2^-60 = 0.49999999999999999913 ... stays below 0.5.
    EXPECT_EQ(F(0.5L - std::ldexp(1.0L, -60), "#;;z"), "z");
    // 12345678901234567.45L is 12345678901234567.4501953125: the 19th digit
    // (5) rounds the 18th up to .5, which then rounds the integer up.
    EXPECT_EQ(F(12345678901234567.45L, "0"), "12345678901234568");
    EXPECT_EQ(F(12345678901234567.45L, "0.0"), "12345678901234567.5");
    // A 19th digit of exactly 5 rounds half away: ...678.5 -> ...679.
    EXPECT_EQ(F(123456789012345678.5L, "#"), "123456789012345679");
    EXPECT_EQ(F(-123456789012345678.5L, "#"), "-123456789012345679");
    // Digits past the 18th are not written, even where placeholders ask.
    EXPECT_EQ(F(1.0L + std::ldexp(1.0L, -60), "0.000000000000000000"), "1.000000000000000000");
}

TEST(FormatNumberRounding, BinaryFractionsAreExpandedToTheirLastDigit)
{
    // 3 / 2^20 = 0.00000286102294921875 exactly (15 significant digits);
    // 5 bytes in MB, 5 / 2^20 = 0.00000476837158203125.
    EXPECT_EQ(F(3.0L / 1048576, "0.00000000000000000000"), "0.00000286102294921875");
    EXPECT_EQ(F(5.0L / 1048576, "0.0000000000000000000"), "0.0000047683715820313"); // ...3125 rounded up
    // 2^70 = 1180591620717411303424: 22 integer digits, the general format.
    EXPECT_EQ(F(std::ldexp(1.0L, 70), "#"), "1.18059162071741E21");
    // 2^63 + 1 needs every mantissa bit: 9223372036854775809.
    EXPECT_EQ(F(9223372036854775809.0L, ""), "9.22337203685478E18");
}

TEST(FormatNumberHugeValues, NineteenIntegerDigitsGoToTheGeneralFormat)
{
    EXPECT_EQ(F(999999999999999999.0L, "#,###"), "999,999,999,999,999,999");
    // Rounded at 18 digits this becomes 10^18: 19 integer digits.
    EXPECT_EQ(F(999999999999999999.625L, "#,###"), "1E18");
    EXPECT_EQ(F(1e20L, "#,###;;0"), "1E20");
    EXPECT_EQ(F(-1e20L, "#,###;;0"), "-1E20");
    EXPECT_EQ(F(1.5e25L, "#,##0.00"), "1.5E25");
    EXPECT_EQ(F(12345678901234567890.0L, "#"), "1.23456789012346E19");
    EXPECT_EQ(F(LDBL_MAX, "#,###;;0"), "1.18973149535723E4932");
}

TEST(FormatNumberGeneralFormat, FifteenSignificantDigits)
{
    EXPECT_EQ(F(0.1L, ""), "0.1");
    EXPECT_EQ(F(1.0L / 3, ""), "0.333333333333333");
    EXPECT_EQ(F(2.0L / 3, ""), "0.666666666666667");
    EXPECT_EQ(F(100, ""), "100");
    EXPECT_EQ(F(123456789012345.0L, ""), "123456789012345");
    EXPECT_EQ(F(1234567890123456.0L, ""), "1.23456789012346E15");
    EXPECT_EQ(F(0.00001L, ""), "0.00001");
    EXPECT_EQ(F(0.000001L, ""), "1E-6");
    EXPECT_EQ(F(std::numeric_limits<long double>::denorm_min(), ""), "3.64519953188247E-4951");
}

TEST(FormatNumberSpecialValues, TinyNotANumberAndInfinity)
{
    EXPECT_EQ(F(std::numeric_limits<long double>::denorm_min(), "#,##0.00;;0"), "0");
    EXPECT_EQ(F(-std::numeric_limits<long double>::denorm_min(), "#,##0.00;;0"), "0");
    EXPECT_EQ(F(1e-30L, "#,##0.00"), "0.00");
    EXPECT_EQ(F(std::numeric_limits<long double>::quiet_NaN(), "#,###;;0"), "NAN");
    EXPECT_EQ(F(std::numeric_limits<long double>::infinity(), "#,###;;0"), "INF");
    EXPECT_EQ(F(-std::numeric_limits<long double>::infinity(), "#,###;;0"), "-INF");
    EXPECT_EQ(F(std::numeric_limits<long double>::quiet_NaN(), ""), "NAN");
}

TEST(FormatNumberScientific, MantissaByPlaceholdersExponentByZeros)
{
    EXPECT_EQ(F(1234.5L, "0.00E+00"), "1.23E+03");
    EXPECT_EQ(F(1234.5L, "0.00E-00"), "1.23E03");
    EXPECT_EQ(F(0.000123L, "0.00e+0"), "1.23e-4");
    EXPECT_EQ(F(0.000123L, "0.00e-0"), "1.23e-4");
    EXPECT_EQ(F(0, "0.00E+00"), "0.00E+00");
    EXPECT_EQ(F(-1234.5L, "0.0E+0"), "-1.2E+3");
    EXPECT_EQ(F(-1234.5L, "0.0E+0;(0.0E+0)"), "(1.2E+3)");
    EXPECT_EQ(F(1234.5L, "##0.0E+0"), "123.5E+1");
    EXPECT_EQ(F(9.99L, "0.0E+0"), "1.0E+1");   // the carry moves the exponent
    EXPECT_EQ(F(1e300L, "0.0E+000"), "1.0E+300");
    EXPECT_EQ(F(5, "0E+0' x'"), "5E+0 x");
}

TEST(FormatNumberSeparators, ModuleSettingsAreUsed)
{
    const QChar decimal = DecimalSeparator;
    const QChar thousand = ThousandSeparator;
    DecimalSeparator = QLatin1Char(',');
    ThousandSeparator = QLatin1Char('.');
    EXPECT_EQ(F(1234567.5L, "#,##0.00;;0"), "1.234.567,50");
    EXPECT_EQ(F(0.5L, ""), "0,5");
    DecimalSeparator = decimal;
    ThousandSeparator = thousand;
    EXPECT_EQ(F(1234567.5L, "#,##0.00;;0"), "1,234,567.50");
}

// The number pattern formatter every figure of the program goes through.
//
// A pattern has up to three sections separated by ";" (outside quotes): for
// positive, negative and zero values. In a section "#" is an optional digit,
// "0" a forced digit, the first "." marks the decimal separator, a "," anywhere
// groups the integer digits by three, quoted text is copied without its
// quotes, "E+", "E-", "e+", "e-" (followed by "0"s for the least number of
// exponent digits) select scientific notation, and every other character is
// copied where it stands. Examples: "#,###;;0", "#,##0.00;;0",
// "#,###  ;;0  ", ###"."00%;;0.00%.
#pragma once

#include <QChar>
#include <QString>

// The separators written by FormatNumber. A locale's would come from
// localeconv() (LC_NUMERIC) on Linux; we keep "." and "," so that every
// machine shows the same texts.
extern QChar DecimalSeparator;
extern QChar ThousandSeparator;

// Formats a value by a pattern. The value is taken as a decimal number of 18
// significant digits and rounded half away from zero to the decimals of the
// chosen section. Values of 19 or more integer digits, and every value when
// all sections are empty, are written in the general format (15 significant
// digits, scientific beyond that). Not-a-number writes "NAN", infinities
// "INF" and "-INF", whatever the pattern.
QString FormatNumber(long double value, const QString& pattern);

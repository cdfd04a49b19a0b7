// The text forms of numbers shown to and typed by the user: the general
// number form, its reading, the few format strings built on it, and the
// locale's decimal separator that both use.
#pragma once

#include "numeric/Exceptions.h"

#include <initializer_list>
#include <string>
#include <string_view>

// Raised by TextToNumber for a text that is no number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// The first character of the user's locale's decimal symbol; "." until
// ReadDecimalSeparator runs, and "." when the symbol is not one plain character.
extern char DecimalSeparator;

// Reads DecimalSeparator from the locale the environment names (LC_ALL,
// LC_NUMERIC, LANG), without touching the process's own locale. Run at
// start-up and again when the system reports changed user settings.
void ReadDecimalSeparator();

// v in the general number form with `precision` significant digits (2 to 18):
// fixed notation when the decimal exponent allows it, otherwise one digit, a
// fraction and "E" with the exponent; no trailing zeros, no "+". The digits
// come from an 18-digit string rounded half up, so −77.08005 gives −77.0801
// with precision 6. Never fails.
std::string FormatGeneral(long double value, int precision);

// Reads a number: blanks, sign, digits with an optional DecimalSeparator,
// an optional exponent, blanks. Raises EConvertError for a text that is no
// number or whose value overflows the extended range. Leaves the x87 status
// flags clear.
long double TextToNumber(const std::string& text);

// Replaces each conversion "%[w][.p]g" of `format` by FormatGeneral of the
// next value with precision p (15 when absent or above 18), preceded by
// blanks up to w characters and never cut. Every other character, and a
// conversion for which no value is left, is copied unchanged.
std::string Format(std::string_view format, std::initializer_list<long double> values);

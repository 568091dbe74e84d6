// How numbers are written to and read from the data files: six significant digits in general
// notation, "na" for a value that is not given, and C-style leading-number parsing in any locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// kNaFloat gives "na"; any other value as printf("%g") would write it in the C locale: six
// significant digits, fixed notation for decimal exponents -4..5, else "1.989e+30"; trailing zeros
// and a trailing point dropped.
std::string formatFloat(float v);
// kNaInt gives "na"; any other value in decimal.
std::string formatInt(int32_t v);

// Length of the leading decimal number of text: optional white space, optional sign, digits with
// an optional fraction (at least one digit in all) and an optional exponent (e or E, optional sign,
// digits). 0 when the text does not start with a number. No hexadecimal, no "inf" or "nan".
size_t leadingNumberLength(std::string_view text);

// The leading decimal number of text as a float; text without a leading number gives 0. Values
// beyond the float range give plus or minus infinity, values below it 0. consumed (if given)
// receives the number of characters read, 0 when there is no number.
float parseLeadingFloat(std::string_view text, size_t* consumed = nullptr);

// True when the leading number of text is a finite float: false for a value beyond the float
// range and for a spelled-out non-number ("inf", "nan" in any case, after blanks and a sign).
// Text without a leading number reads as 0 and so counts as finite.
bool leadingFloatIsFinite(std::string_view text);

// The leading integer of text: optional white space, optional sign, decimal digits, stopping at
// the first other character. No digits give 0 (and hasDigits false); values beyond 32 bits saturate.
int32_t parseLeadingInt(std::string_view text, bool* hasDigits = nullptr);

// Item values: exactly "na" gives the marker (kNaFloat, kNaInt, 0 for yes/no items); anything else
// is read as the leading number.
float parseFloatItem(std::string_view value);
int32_t parseIntItem(std::string_view value);
int32_t parseFlagItem(std::string_view value);

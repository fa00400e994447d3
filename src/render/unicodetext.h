// What the command line needs to know about characters and the user's
// locale, from ICU's Unicode and CLDR data: the decimal separator a user's
// settings name, and the kind of a character given as one.
#pragma once

#include <optional>
#include <string>

namespace helidisk {

// The one code point that the UTF-8 text holds, if it holds exactly one,
// well formed.
std::optional<char32_t> SingleCodePoint(const std::string& utf8);

// Not a control, format, private-use, surrogate or unassigned character.
bool IsPrintable(char32_t character);

// Not a digit or other number, a sign or dash, a blank, a line or paragraph
// separator, or a combining mark: none of these may stand between a
// number's whole part and its decimals.
bool UsableAsDecimalSeparator(char32_t character);

// The decimal separator of the user's regional settings, UTF-8: of the
// locale that LC_ALL, LC_NUMERIC or LANG names (the first one set), as the
// window takes it; a full stop for the C locale.
std::string LocaleDecimalSeparator();

}  // namespace helidisk

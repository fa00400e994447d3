#include "unicodetext.h"

#include <unicode/uchar.h>
#include <unicode/unum.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace helidisk {

namespace {

// "de_DE.UTF-8@euro" as ICU names it: "de_DE".
std::string IcuLocaleName(std::string name) {
  name = name.substr(0, name.find_first_of(".@"));
  return name == "C" || name == "POSIX" ? std::string("en_US_POSIX") : name;
}

std::string NumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return IcuLocaleName(value);
  }
  return IcuLocaleName("C");
}

struct NumberFormatCloser {
  void operator()(UNumberFormat* format) const { unum_close(format); }
};

}  // namespace

std::optional<char32_t> SingleCodePoint(const std::string& utf8) {
  if (utf8.empty() || utf8.size() > 4) return std::nullopt;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
  const auto length = static_cast<std::int32_t>(utf8.size());
  std::int32_t offset = 0;
  UChar32 character = 0;
  U8_NEXT(bytes, offset, length, character);
  if (character < 0 || offset != length) return std::nullopt;
  return static_cast<char32_t>(character);
}

bool IsPrintable(char32_t character) {
  const auto codePoint = static_cast<UChar32>(character);
  return u_isprint(codePoint) != 0 && u_charType(codePoint) != U_FORMAT_CHAR;
}

bool UsableAsDecimalSeparator(char32_t character) {
  switch (u_charType(static_cast<UChar32>(character))) {
    case U_DECIMAL_DIGIT_NUMBER:
    case U_LETTER_NUMBER:
    case U_OTHER_NUMBER:
    case U_MATH_SYMBOL:
    case U_DASH_PUNCTUATION:
    case U_SPACE_SEPARATOR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_NON_SPACING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_ENCLOSING_MARK:
      return false;
    default:
      return true;
  }
}

std::string LocaleDecimalSeparator() {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UNumberFormat, NumberFormatCloser> format(
      unum_open(UNUM_DECIMAL, nullptr, 0, NumericLocaleName().c_str(), nullptr, &status));
  std::array<UChar, 8> symbol{};
  const std::int32_t symbolLength =
      unum_getSymbol(format.get(), UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol.data(),
                     static_cast<std::int32_t>(symbol.size()), &status);
  std::array<char, 32> utf8{};
  std::int32_t utf8Length = 0;
  u_strToUTF8(utf8.data(), static_cast<std::int32_t>(utf8.size()), &utf8Length, symbol.data(),
              symbolLength, &status);
  if (U_FAILURE(status) || utf8Length <= 0) return ".";
  return {utf8.data(), static_cast<std::size_t>(utf8Length)};
}

}  // namespace helidisk

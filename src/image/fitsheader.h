// FITS header cards and the values written on them (FITS Standard 4.0,
// sect. 4): 80-character cards, the keyword in columns 1-8, "= " in columns
// 9-10 for a card with a value, then a quoted string, a number, a logical or
// a complex value, and an optional "/ comment".
//
// Pure functions over strings: the reader hands in the header text as
// cfitsio returns it, and the fuzzer drives the same functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace helidisk {

inline constexpr std::size_t kFitsCardChars = 80;

struct FitsCard {
  std::string keyword;  // upper case as written, trailing blanks removed
  std::string value;    // a string's text without quotes ('' read as '), else the value's text
  bool isString = false;
};

// The cards in header order.  Where a keyword appears more than once the
// first card counts, so that an extension's cards placed ahead of the
// primary header's override them (the INHERIT convention).
struct FitsHeader {
  std::vector<FitsCard> cards;
};

// The text without the blanks that pad it on either side, as FITS pads its
// keywords and values.
std::string_view TrimBlanks(std::string_view text);

// Reads 80-character cards up to END or the end of the text (a last short
// card counts).  Cards without a value (COMMENT, HISTORY, blank) and
// unreadable values are left out.
FitsHeader ParseFitsHeader(std::string_view cards);

// The header of `first` followed by that of `second`: first's cards win.
FitsHeader MergeFitsHeaders(const FitsHeader& first, const FitsHeader& second);

// A real or integer value field: optional sign, digits with an optional
// point, an exponent with E or D.  Nothing else, and only finite values.
std::optional<double> ParseFitsNumber(std::string_view text);

const FitsCard* FindCard(const FitsHeader& header, std::string_view keyword);

// The keyword's value as a finite number, when it has one.
std::optional<double> HeaderNumber(const FitsHeader& header, std::string_view keyword);

// The keyword's value as a string (a quoted value), with trailing blanks
// removed as the standard makes them insignificant.
std::optional<std::string> HeaderText(const FitsHeader& header, std::string_view keyword);

}  // namespace helidisk

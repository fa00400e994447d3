#include "fitsheader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace helidisk {

namespace {

constexpr std::size_t kKeywordChars = 8;
constexpr std::string_view kValueIndicator = "= ";

// A quoted string starting at the field's first quote: '' stands for one
// quote, the string ends at a lone quote.  Unterminated strings are refused.
std::optional<std::string> QuotedString(std::string_view field) {
  std::string text;
  for (std::size_t i = 1; i < field.size(); ++i) {
    if (field[i] != '\'') {
      text.push_back(field[i]);
    } else if (i + 1 < field.size() && field[i + 1] == '\'') {
      text.push_back('\'');
      ++i;
    } else {
      return text;
    }
  }
  return std::nullopt;
}

std::optional<FitsCard> ReadCard(std::string_view card) {
  const std::string_view keyword = TrimBlanks(card.substr(0, std::min(card.size(), kKeywordChars)));
  if (keyword.empty() || card.size() <= kKeywordChars ||
      card.substr(kKeywordChars, kValueIndicator.size()) != kValueIndicator) {
    return std::nullopt;
  }
  const std::string_view field = TrimBlanks(card.substr(kKeywordChars + kValueIndicator.size()));
  FitsCard result{std::string(keyword), {}, false};
  if (!field.empty() && field.front() == '\'') {
    std::optional<std::string> text = QuotedString(field);
    if (!text) return std::nullopt;
    // Trailing blanks inside the quotes are not significant.
    const auto end = text->find_last_not_of(' ');
    text->erase(end == std::string::npos ? 0 : end + 1);
    result.value = std::move(*text);
    result.isString = true;
  } else {
    result.value = std::string(TrimBlanks(field.substr(0, field.find('/'))));
  }
  return result;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

FitsHeader ParseFitsHeader(std::string_view cards) {
  FitsHeader header;
  for (std::size_t at = 0; at < cards.size(); at += kFitsCardChars) {
    const std::string_view card = cards.substr(at, kFitsCardChars);
    if (TrimBlanks(card) == "END") break;
    if (std::optional<FitsCard> read = ReadCard(card)) header.cards.push_back(std::move(*read));
  }
  return header;
}

FitsHeader MergeFitsHeaders(const FitsHeader& first, const FitsHeader& second) {
  FitsHeader merged = first;
  merged.cards.insert(merged.cards.end(), second.cards.begin(), second.cards.end());
  return merged;
}

std::optional<double> ParseFitsNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return std::nullopt;
  }
  // Fortran's D exponent; std::from_chars also takes "inf" and "nan",
  // which are no FITS numbers.
  std::string normalized(text);
  for (char& c : normalized) {
    if (c == 'D' || c == 'd') c = 'E';
    const bool allowed =
        (c >= '0' && c <= '9') || c == '.' || c == 'E' || c == 'e' || c == '-' || c == '+';
    if (!allowed) return std::nullopt;
  }
  double value = 0;
  const char* end = normalized.data() + normalized.size();
  const auto [stop, error] = std::from_chars(normalized.data(), end, value);
  if (error != std::errc{} || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

const FitsCard* FindCard(const FitsHeader& header, std::string_view keyword) {
  const auto found =
      std::find_if(header.cards.begin(), header.cards.end(),
                   [keyword](const FitsCard& card) { return card.keyword == keyword; });
  return found == header.cards.end() ? nullptr : &*found;
}

std::optional<double> HeaderNumber(const FitsHeader& header, std::string_view keyword) {
  const FitsCard* card = FindCard(header, keyword);
  if (card == nullptr || card->isString) return std::nullopt;
  return ParseFitsNumber(card->value);
}

std::optional<std::string> HeaderText(const FitsHeader& header, std::string_view keyword) {
  const FitsCard* card = FindCard(header, keyword);
  if (card == nullptr || !card->isString) return std::nullopt;
  return card->value;
}

}  // namespace helidisk

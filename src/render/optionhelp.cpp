// The help text of helidisk-render, filled from the option table.
#include "optionparser.h"
#include "renderoptions.h"

namespace helidisk {

namespace {

constexpr std::size_t kHelpWidth = 78;
constexpr std::size_t kHelpIndent = 20;

// The words of `text` filled into lines of at most kHelpWidth columns,
// each indented by kHelpIndent, the first one following `lead`.
std::string FilledParagraph(const std::string& lead, const std::string& text) {
  std::string result = lead;
  std::size_t column = lead.size();
  // help2man and readers both need two blanks between an option and its
  // text.
  if (column + 2 > kHelpIndent) {
    result += "\n";
    column = 0;
  }
  bool lineEmpty = true;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    start = end + 1;
    if (!lineEmpty && column + 1 + word.size() > kHelpWidth) {
      result += "\n";
      column = 0;
      lineEmpty = true;
    }
    if (lineEmpty) {
      result.append(kHelpIndent - column, ' ');
      column = kHelpIndent;
    } else {
      result += ' ';
      ++column;
    }
    result += word;
    column += word.size();
    lineEmpty = false;
  }
  return result + "\n";
}

}  // namespace

std::string HelpText() {
  std::string text =
      "Usage: helidisk-render [options]\n\n"
      "Draws the Sun's disk with its heliographic grid, and the readout of the\n"
      "Julian day, date, time, RA, Dec, distance, semi-diameter, P, B0 and L0, for\n"
      "one instant -- the same picture and texts as the helidisk window.\n";
  for (const optionparsing::OptionSection& section : optionparsing::OptionTable()) {
    text += "\n";
    if (!section.heading.empty()) text += section.heading + "\n";
    for (const optionparsing::OptionSpec& option : section.options) {
      const std::string lead =
          "  " + option.name + (option.TakesValue() ? " " + option.valueName : "");
      text += FilledParagraph(lead, option.help);
    }
  }
  text +=
      "\nAt least one of --output, --readout, --json, --locate, --feature and --table is\n"
      "needed.\n"
      "A control narrower or shorter than 3 pixels leaves an image without pixels:\n"
      "a PNG is then refused, an SVG is written with width and height 0 and still\n"
      "lists every drawing operation.  A regular file is written to a temporary\n"
      "file beside it and renamed into place only when complete, keeping the\n"
      "permissions of the file it replaces; a named pipe or a device is written\n"
      "into directly.\n\n"
      "Exit status: 0 done, 1 the picture or table could not be computed or written,\n"
      "2 bad command line or an instant the chosen ephemeris does not serve\n"
      "(nothing is written), 141 the reader of standard output closed it before\n"
      "the end (as SIGPIPE would, without a message).\n";
  return text;
}

}  // namespace helidisk

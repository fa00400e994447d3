#include "svgcanvas.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace helidisk {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

SvgCanvas::SvgCanvas(std::int32_t widthPixels, std::int32_t heightPixels)
    : widthPixels_(std::max(widthPixels, 0)), heightPixels_(std::max(heightPixels, 0)) {}

void SvgCanvas::SetBrushColor(Color color) { brushColor_ = color; }

void SvgCanvas::SetPenColor(Color color) { penColor_ = color; }

void SvgCanvas::SetPenWidth(std::int32_t widthPixels) { penWidthPixels_ = widthPixels; }

std::int32_t SvgCanvas::EffectivePenWidth() const { return std::max(penWidthPixels_, 1); }

void SvgCanvas::AppendNumber(double value) {
  // Shortest text that reads back as the same double; no "-0".
  if (value == 0) value = 0;
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  elements_.append(text.data(), result.ptr);
}

void SvgCanvas::AppendAttribute(const char* name, double value) {
  elements_ += ' ';
  elements_ += name;
  elements_ += "=\"";
  AppendNumber(value);
  elements_ += '"';
}

void SvgCanvas::AppendColorAttribute(const char* name, Color color) {
  elements_ += ' ';
  elements_ += name;
  elements_ += "=\"#";
  for (const std::uint8_t channel : {color.Red, color.Green, color.Blue}) {
    elements_ += kHexDigits[channel >> 4];
    elements_ += kHexDigits[channel & 0xF];
  }
  elements_ += '"';
}

void SvgCanvas::FillRect(const Rect& rect) {
  const double left = rect.Left;
  const double top = rect.Top;
  elements_ += "<rect";
  AppendAttribute("x", left);
  AppendAttribute("y", top);
  AppendAttribute("width", std::max(rect.Right - left, 0.0));
  AppendAttribute("height", std::max(rect.Bottom - top, 0.0));
  AppendColorAttribute("fill", brushColor_);
  elements_ += "/>\n";
  ++elementCount_;
}

void SvgCanvas::Ellipse(const Rect& rect) {
  const double boxRadiusX = std::max((static_cast<double>(rect.Right) - rect.Left) / 2, 0.0);
  const double boxRadiusY = std::max((static_cast<double>(rect.Bottom) - rect.Top) / 2, 0.0);
  // The outline lies inside the box; an ellipse narrower than the pen is
  // pen-coloured right through.
  const double strokeWidth =
      std::min({static_cast<double>(EffectivePenWidth()), boxRadiusX, boxRadiusY});
  elements_ += "<ellipse";
  AppendAttribute("cx", (static_cast<double>(rect.Left) + rect.Right) / 2);
  AppendAttribute("cy", (static_cast<double>(rect.Top) + rect.Bottom) / 2);
  AppendAttribute("rx", boxRadiusX - strokeWidth / 2);
  AppendAttribute("ry", boxRadiusY - strokeWidth / 2);
  AppendColorAttribute("fill", brushColor_);
  AppendColorAttribute("stroke", penColor_);
  AppendAttribute("stroke-width", strokeWidth);
  elements_ += "/>\n";
  ++elementCount_;
}

void SvgCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  penX_ = x;
  penY_ = y;
}

void SvgCanvas::LineTo(std::int32_t x, std::int32_t y) {
  const std::int32_t width = EffectivePenWidth();
  // Odd widths are centred on pixel centres, even ones on pixel corners.
  const double origin = width % 2 == 1 ? 0.5 : 0.0;
  elements_ += "<line";
  AppendAttribute("x1", penX_ + origin);
  AppendAttribute("y1", penY_ + origin);
  AppendAttribute("x2", x + origin);
  AppendAttribute("y2", y + origin);
  AppendColorAttribute("stroke", penColor_);
  AppendAttribute("stroke-width", width);
  if (width > 1) elements_ += " stroke-linecap=\"round\"";
  elements_ += "/>\n";
  ++elementCount_;
  penX_ = x;
  penY_ = y;
}

std::string SvgCanvas::Document() const {
  const std::string width = std::to_string(widthPixels_);
  const std::string height = std::to_string(heightPixels_);
  std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height + "\">\n";
  document.reserve(document.size() + elements_.size() + 8);
  document += elements_;
  document += "</svg>\n";
  return document;
}

}  // namespace helidisk

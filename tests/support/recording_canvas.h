// Test doubles for a redraw: a canvas that records its operations in order,
// and a window view whose inputs a test fixes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "canvas.h"
#include "viewstate.h"

namespace helidisk::fakes {

enum class Op { BrushColor, PenColor, PenWidth, FillRect, Ellipse, MoveTo, LineTo };

struct CanvasOp {
  Op kind;
  Color color{};          // BrushColor, PenColor
  std::int32_t width{};   // PenWidth
  Rect rect{};            // FillRect, Ellipse
  std::int32_t x{}, y{};  // MoveTo, LineTo

  // The pen when the operation ran.
  Color penColor{};
  std::int32_t penWidth{};

  friend bool operator==(const CanvasOp&, const CanvasOp&) = default;
};

class RecordingCanvas : public Canvas {
 public:
  void SetBrushColor(Color color) override { Record({.kind = Op::BrushColor, .color = color}); }
  void SetPenColor(Color color) override {
    penColor_ = color;
    Record({.kind = Op::PenColor, .color = color});
  }
  void SetPenWidth(std::int32_t width) override {
    penWidth_ = width;
    Record({.kind = Op::PenWidth, .width = width});
  }
  void FillRect(const Rect& rect) override { Record({.kind = Op::FillRect, .rect = rect}); }
  void Ellipse(const Rect& rect) override { Record({.kind = Op::Ellipse, .rect = rect}); }
  void MoveTo(std::int32_t x, std::int32_t y) override {
    Record({.kind = Op::MoveTo, .x = x, .y = y});
  }
  void LineTo(std::int32_t x, std::int32_t y) override {
    Record({.kind = Op::LineTo, .x = x, .y = y});
  }

  std::vector<CanvasOp> ops;

 private:
  void Record(CanvasOp op) {
    op.penColor = penColor_;
    op.penWidth = penWidth_;
    ops.push_back(op);
  }
  Color penColor_ = kBlack;
  std::int32_t penWidth_ = 1;
};

class FakeForm : public FormView {
 public:
  Canvas& ImageCanvas() override { return canvas; }
  DiskGeometry PictureGeometry() const override { return geometry; }
  double HourPosition() const override { return scrollPosition; }
  bool DiffRotChecked() const override { return diffRotChecked; }
  void SetReadoutCaption(ReadoutLabel label, const std::string& caption) override {
    captions[static_cast<int>(label)] = caption;
    captionOrder.push_back(label);
  }
  std::int32_t CurrentYear() const override { return year; }
  std::string DecimalSeparator() const override { return decimalSeparator; }

  const std::string& Caption(ReadoutLabel label) const { return captions[static_cast<int>(label)]; }

  RecordingCanvas canvas;
  // The window's picture at its design size.
  DiskGeometry geometry{999, 627, 499, 313};
  std::int32_t scrollPosition = 0;
  bool diffRotChecked = true;
  std::int32_t year = 2021;
  std::string decimalSeparator = ".";
  std::array<std::string, kReadoutLabelCount> captions;
  std::vector<ReadoutLabel> captionOrder;
};

}  // namespace helidisk::fakes

// Every hour of the scroll bar, in both grid modes, for years far apart: the
// redraw never fails and every readout text keeps its shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "diskgeometry.h"
#include "redraw.h"

namespace helidisk {
namespace {

// Counts the drawing instead of keeping it: a year of redraws is too much
// to record.
class CountingCanvas : public Canvas {
 public:
  void SetBrushColor(Color /*color*/) override {}
  void SetPenColor(Color /*color*/) override {}
  void SetPenWidth(std::int32_t /*widthPixels*/) override {}
  void FillRect(const Rect& /*rect*/) override { ++operations; }
  void Ellipse(const Rect& /*rect*/) override { ++operations; }
  void MoveTo(std::int32_t /*x*/, std::int32_t /*y*/) override { ++operations; }
  void LineTo(std::int32_t /*x*/, std::int32_t /*y*/) override { ++operations; }

  long operations = 0;
};

class StressForm : public FormView {
 public:
  Canvas& ImageCanvas() override { return canvas; }
  DiskGeometry PictureGeometry() const override { return DiskGeometryOfPicture(1000, 628); }
  double HourPosition() const override { return position; }
  bool DiffRotChecked() const override { return differential; }
  void SetReadoutCaption(ReadoutLabel label, const std::string& caption) override {
    captions[static_cast<int>(label)] = caption;
  }
  std::int32_t CurrentYear() const override { return year; }
  std::string DecimalSeparator() const override { return ","; }

  CountingCanvas canvas;
  std::int32_t position = 0;
  bool differential = true;
  std::int32_t year = 0;
  std::array<std::string, kReadoutLabelCount> captions;
};

const std::array<std::regex, kReadoutLabelCount>& ReadoutShapes() {
  static const std::array<std::regex, kReadoutLabelCount> shapes = {
      std::regex(R"(Julian\.Tag: \d{7},\d\d)"),
      std::regex(R"(Datum     : \d{1,4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]))"),
      std::regex(R"(Zeit UT   : ([01]\d|2[0-3]):00)"),
      std::regex(R"(RAapp     : (([01]\d|2[0-3]):[0-5]\d:[0-5]\d|24:00:00))"),
      std::regex(R"(DEapp     :[ -]([01]\d|2[0-3]):[0-5]\d:[0-5]\d)"),
      std::regex(R"(Distanz   :  (0\.98|0\.99|1\.0[01])\d{3})"),
      std::regex(R"(Halbmesser: 1[56]:[0-5]\d)"),
      std::regex(R"(Pos\.winkel \(N\): [ -]{1,3}\d{1,2}\.\d\d°)"),
      std::regex(R"(Heliogr\.Breite:  [ -] ?\d\.\d\d°)"),
      std::regex(R"(Heliogr\.Länge : [ \d]{3}\.\d\d°)"),
  };
  return shapes;
}

// Every hour, unless the run asks for a sparser sweep: the sanitizer build
// takes every seventh, which still meets every hour of the day and every day.
std::int32_t HourStep() {
  const char* configured = std::getenv("HELIDISK_STRESS_HOUR_STEP");
  return configured != nullptr ? std::max(1, std::atoi(configured)) : 1;
}

class EveryHourOfTheYear : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(EveryHourOfTheYear, RedrawsWithWellFormedReadouts) {
  StressForm form;
  form.year = GetParam();
  for (const bool differential : {true, false}) {
    form.differential = differential;
    std::string previousDate;
    std::int32_t previousDay = -1;
    for (form.position = 0; form.position <= 8736; form.position += HourStep()) {
      form.canvas.operations = 0;
      ASSERT_NO_THROW(Redraw(form)) << form.position;
      ASSERT_GT(form.canvas.operations, 7000) << form.position;
      for (int label = 0; label < kReadoutLabelCount; ++label) {
        ASSERT_TRUE(std::regex_match(form.captions[label], ReadoutShapes()[label]))
            << form.position << ": " << form.captions[label];
      }
      const std::string& date = form.captions[static_cast<int>(ReadoutLabel::Datum)];
      const std::string& time = form.captions[static_cast<int>(ReadoutLabel::Zeit)];
      ASSERT_EQ(std::stoi(time.substr(12, 2)), form.position % 24) << form.position;
      const std::int32_t day = form.position / 24;
      ASSERT_EQ(date != previousDate, day != previousDay) << form.position << ": " << date;
      previousDate = date;
      previousDay = day;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FarApartYears, EveryHourOfTheYear,
                         ::testing::Values(1, 1582, 2026, 2100, 9999));

}  // namespace
}  // namespace helidisk

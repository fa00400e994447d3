#include "readout.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

using fakes::FakeForm;

// The record of 1 January 2021, 0 h UT, as the ephemeris leaves it.
ViewState NewYear2021(FakeForm& form) {
  ViewState state;
  state.Form = &form;
  state.JulianDay = 2459215.5;
  state.Year = 2021;
  state.Month = 1;
  state.Day = 1;
  state.SunRA = 281.725220 * DegToRad;
  state.SunDec = -22.999325 * DegToRad;
  state.SunDistance = 0.98331665;
  state.SunP = 1.955167 * DegToRad;
  state.SunB0 = -3.026069 * DegToRad;
  state.SunL0 = 280.156492 * DegToRad;
  return state;
}

TEST(FillReadout, TenLabelsInOrderWithTheirCaptions) {
  FakeForm form;
  ViewState state = NewYear2021(form);
  FillReadout(state);
  const std::vector<std::pair<ReadoutLabel, std::string>> expected = {
      {ReadoutLabel::JD, "Julian.Tag: 2459215.50"},
      {ReadoutLabel::Datum, "Datum     : 2021-01-01"},
      {ReadoutLabel::Zeit, "Zeit UT   : 00:00"},
      {ReadoutLabel::RAapp, "RAapp     : 18:46:54"},
      {ReadoutLabel::DEapp, "DEapp     :-22:59:58"},
      {ReadoutLabel::Distanz, "Distanz   :  0.98332"},
      {ReadoutLabel::Halbmesser, "Halbmesser: 16:16"},
      {ReadoutLabel::P, "Pos.winkel (N):   1.96°"},
      {ReadoutLabel::B0, "Heliogr.Breite:  -3.03°"},
      {ReadoutLabel::L0, "Heliogr.Länge : 280.16°"},
  };
  ASSERT_EQ(form.captionOrder.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(form.captionOrder[i], expected[i].first) << i;
    EXPECT_EQ(form.Caption(expected[i].first), expected[i].second);
  }
  EXPECT_TRUE(form.canvas.ops.empty());
}

TEST(FillReadout, RoundingAndSignsOfTheNumbers) {
  struct Case {
    const char* what;
    void (*adjust)(ViewState&);
    ReadoutLabel label;
    const char* expected;
  };
  const Case cases[] = {
      {"JD tie at 15 h rounds up", [](ViewState& s) { s.JulianDay = 2461041.625; },
       ReadoutLabel::JD, "Julian.Tag: 2461041.63"},
      {"JD tie at 3 h rounds up", [](ViewState& s) { s.JulianDay = 2461041.625 - 0.5; },
       ReadoutLabel::JD, "Julian.Tag: 2461041.13"},
      {"tiny negative B0 keeps its sign", [](ViewState& s) { s.SunB0 = -0.001 * DegToRad; },
       ReadoutLabel::B0, "Heliogr.Breite:  -0.00°"},
      {"L0 just below a full turn", [](ViewState& s) { s.SunL0 = 359.996 * DegToRad; },
       ReadoutLabel::L0, "Heliogr.Länge : 360.00°"},
      {"negative P", [](ViewState& s) { s.SunP = -25.142938 * DegToRad; }, ReadoutLabel::P,
       "Pos.winkel (N): -25.14°"},
      {"right ascension just below 24 h", [](ViewState& s) { s.SunRA = TwoPi - 1e-7; },
       ReadoutLabel::RAapp, "RAapp     : 24:00:00"},
      {"northern declination", [](ViewState& s) { s.SunDec = 22.868611 * DegToRad; },
       ReadoutLabel::DEapp, "DEapp     : 22:52:07"},
      {"afternoon time",
       [](ViewState& s) {
         s.Hours = 13;
         s.Minutes = 5;
       },
       ReadoutLabel::Zeit, "Zeit UT   : 13:05"},
      {"late date",
       [](ViewState& s) {
         s.Month = 12;
         s.Day = 30;
       },
       ReadoutLabel::Datum, "Datum     : 2021-12-30"},
      {"distance in aphelion", [](ViewState& s) { s.SunDistance = 1.0167; },
       ReadoutLabel::Halbmesser, "Halbmesser: 15:44"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeForm form;
    ViewState state = NewYear2021(form);
    c.adjust(state);
    FillReadout(state);
    EXPECT_EQ(form.Caption(c.label), c.expected);
  }
}

TEST(FillReadout, OnlyTheJulianDayFollowsTheRegionalSeparator) {
  FakeForm form;
  form.decimalSeparator = ",";
  ViewState state = NewYear2021(form);
  FillReadout(state);
  EXPECT_EQ(form.Caption(ReadoutLabel::JD), "Julian.Tag: 2459215,50");
  EXPECT_EQ(form.Caption(ReadoutLabel::Distanz), "Distanz   :  0.98332");
  EXPECT_EQ(form.Caption(ReadoutLabel::L0), "Heliogr.Länge : 280.16°");
}

}  // namespace
}  // namespace helidisk

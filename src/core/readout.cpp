#include "readout.h"

#include "divprocs.h"
#include "fixedtext.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// The semi-diameter of the Sun at one astronomical unit, arc minutes.
constexpr double kSemiDiameterAt1AuArcMinutes = 15.996;
// The Julian day is rounded to this many significant digits before its two
// decimals are taken.
constexpr int kJulianDaySignificantDigits = 16;
constexpr const char* kDegreeSign = "°";

void Publish(ViewState& state, ReadoutLabel label) {
  state.ReadoutText += state.ReadoutField;
  state.Form->SetReadoutCaption(label, state.ReadoutText);
}

void ReplaceAll(std::string& text, char from, const std::string& to) {
  for (std::size_t i = text.find(from); i != std::string::npos;
       i = text.find(from, i + to.size())) {
    text.replace(i, 1, to);
  }
}

void FillJulianDay(ViewState& state) {
  state.ReadoutText = "Julian.Tag: ";
  state.ReadoutField = FormatFixed(state.JulianDay, 0, 2, kJulianDaySignificantDigits);
  ReplaceAll(state.ReadoutField, '.', state.Form->DecimalSeparator());
  Publish(state, ReadoutLabel::JD);
}

void FillDate(ViewState& state) {
  state.ReadoutText = "Datum     : " + FormatInteger(state.Year) + "-";
  state.ReadoutField = FormatInteger(state.Month, 2);
  ZeroFillFrom(state.ReadoutField, 0);
  state.ReadoutText += state.ReadoutField + "-";
  state.ReadoutField = FormatInteger(state.Day, 2);
  ZeroFillFrom(state.ReadoutField, 0);
  Publish(state, ReadoutLabel::Datum);
}

void FillTime(ViewState& state) {
  state.ReadoutText = "Zeit UT   : ";
  state.ReadoutField = FormatFixed(state.Hours, 2, 0);
  ZeroFillFrom(state.ReadoutField, 0);
  state.ReadoutText += state.ReadoutField + ":";
  state.ReadoutField = FormatFixed(state.Minutes, 2, 0);
  ZeroFillFrom(state.ReadoutField, 0);
  Publish(state, ReadoutLabel::Zeit);
}

// The blank that the sexagesimal text puts before the sign is dropped, so
// the sign stands right after the colon.
void FillSexagesimal(ViewState& state, ReadoutLabel label, const char* caption, double value) {
  state.ReadoutText = caption;
  FormatSexagesimal(0, value, state.ReadoutField);
  state.ReadoutField.erase(0, 1);
  Publish(state, label);
}

void FillDistance(ViewState& state) {
  state.ReadoutText = "Distanz   :";
  state.ReadoutField = FormatFixed(state.SunDistance, 9, 5);
  Publish(state, ReadoutLabel::Distanz);
}

void FillSemiDiameter(ViewState& state) {
  state.ReadoutText = "Halbmesser:";
  FormatMinSec(kSemiDiameterAt1AuArcMinutes / state.SunDistance, state.ReadoutField);
  Publish(state, ReadoutLabel::Halbmesser);
}

void FillDegrees(ViewState& state, ReadoutLabel label, const char* caption, double radians) {
  state.ReadoutText = caption;
  state.ReadoutField = FormatFixed(radians * RadToDeg, 7, 2) + kDegreeSign;
  Publish(state, label);
}

}  // namespace

void FillReadout(ViewState& state) {
  FillJulianDay(state);
  FillDate(state);
  FillTime(state);
  FillSexagesimal(state, ReadoutLabel::RAapp, "RAapp     :", state.SunRA * RadToHours);
  FillSexagesimal(state, ReadoutLabel::DEapp, "DEapp     :", state.SunDec * RadToDeg);
  FillDistance(state);
  FillSemiDiameter(state);
  FillDegrees(state, ReadoutLabel::P, "Pos.winkel (N):", state.SunP);
  FillDegrees(state, ReadoutLabel::B0, "Heliogr.Breite:", state.SunB0);
  FillDegrees(state, ReadoutLabel::L0, "Heliogr.Länge :", state.SunL0);
}

}  // namespace helidisk

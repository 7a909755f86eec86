#include "app/options_layout.h"

namespace app {
namespace {

using ui::Align;
constexpr ui::FontDesign kVerdana675{L"Verdana", 6.75, false};
constexpr ui::FontDesign kVerdana825{L"Verdana", 8.25, false};
constexpr ui::FontDesign kVerdana825Bold{L"Verdana", 8.25, true};
constexpr ui::FontDesign kWindow = ui::kWindowFont;
constexpr COLORREF kDarkRed = RGB(128, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kAuto = ui::kDefaultColor;

// The rules under the heading, the drive alerts, the clip and the marker.
constexpr ui::LineDesign kLines[] = {
  {120, 360, 3480, 360},
  {3480, 1560, 120, 1560},
  {3120, 3120, 120, 3120},
  {3480, 4200, 120, 4200},
};

}  // namespace

// id, control, caption, tooltip, {left, top, width, height}, tab index, font,
// colour, alignment
std::vector<ui::ControlDesign> OptionsDesign(OptionsControls& c) {
  return {
    {kHeadingLabel, &c.heading, L"When new mail arrives....", nullptr, {120, 120, 3015, 255}, 1, kVerdana825Bold},
    {kFlashDriveBox, &c.flashDriveBox, L"Flash A:\\ drive?", nullptr, {120, 480, 3015, 255}, 0, kVerdana675},
    {kEjectBox, &c.ejectBox, L"Eject CD ROM?", nullptr, {120, 840, 3015, 255}, 2, kVerdana675},
    {kBeepBox, &c.beepBox, L"System beep?", nullptr, {120, 1200, 3015, 255}, 3, kVerdana675},
    {kClipBox, &c.clipBox, L"Animation?", nullptr, {120, 1680, 3015, 255}, 5, kVerdana675},
    {kClipPathBox, &c.clipPathBox, nullptr, L"Media file to play when email arrives", {360, 1960, 2775, 285}, 6, kVerdana675},
    {kBrowseClipButton, &c.browseClipButton, L"...", nullptr, {3240, 1970, 255, 280}, 18, kWindow},
    {kLoopLabel, &c.loopLabel, L"Times to loop animation:", nullptr, {360, 2350, 2415, 255}, 16, kVerdana675},
    {kLoopBox, &c.loopBox, nullptr, L"Number of times to loop the animation", {2760, 2280, 375, 285}, 15, kVerdana675},
    {kClipRightBox, &c.clipRightBox, L"Animation appears top right?", nullptr, {360, 2640, 2775, 255}, 12, kVerdana675},
    {kMarkerBox, &c.markerBox, L"Detect File (Outlook XP/2003 fix)?", nullptr, {120, 3240, 3015, 255}, 13, kVerdana675},
    {kMarkerPathBox, &c.markerPathBox, nullptr, L"Path & filename of temporary file (will delete the file when it's found)", {360, 3525, 2775, 285}, 14, kVerdana675},
    {kBrowseMarkerButton, &c.browseMarkerButton, L"...", nullptr, {3240, 3520, 255, 280}, 19, kWindow},
    {kMarkerNote, &c.markerNote, L"(note: file will be deleted)", nullptr, {960, 3840, 2175, 255}, 17, kVerdana675, kGrey, Align::Right},
    {kTaglineLabel, &c.tagline, L"Postlark: new mail, loudly", nullptr, {240, 4320, 3015, 255}, 4, kVerdana825, kDarkRed, Align::Center},
    {kAddressLabel, &c.address, L"postlark.example.org", nullptr, {240, 4560, 3015, 255}, 11, kVerdana825, kDarkRed, Align::Center},
    {kHideButton, &c.hideButton, L"OK  (minimise)", nullptr, {480, 4920, 1335, 375}, 7, kWindow},
    {kExitButton, &c.exitButton, L"Exit", nullptr, {1920, 4920, 1095, 375}, 8, kWindow},
    {kStatusLabel, &c.status, L"", nullptr, {120, 5400, 2295, 255}, 10, kVerdana825},
    {kIdleLabel, &c.idle, L"", nullptr, {2520, 5400, 975, 255}, 9, kWindow, kAuto, Align::Right},
  };
}

std::span<const ui::LineDesign> OptionsLines() { return kLines; }

std::vector<Binding> OptionsBindings(OptionsControls& c) {
  using settings::Options;
  return {
    {&Options::flashDrive, &c.flashDriveBox},
    {&Options::eject, &c.ejectBox},
    {&Options::beep, &c.beepBox},
    {&Options::clip, &c.clipBox},
    {&Options::clipTopRight, &c.clipRightBox},
    {&Options::clipPath, &c.clipPathBox},
    {&Options::plays, &c.loopBox},
    {&Options::marker, &c.markerBox},
    {&Options::markerPath, &c.markerPathBox},
  };
}

}  // namespace app

#include "app/form1_layout.h"

namespace {

using ui::Align;
using ui::Kind;
constexpr ui::FontDesign kVerdana675{L"Verdana", 6.75, false};
constexpr ui::FontDesign kVerdana825{L"Verdana", 8.25, false};
constexpr ui::FontDesign kVerdana825Bold{L"Verdana", 8.25, true};
constexpr ui::FontDesign kWindow = ui::kWindowFont;
constexpr COLORREF kDarkRed = RGB(128, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kAuto = ui::kDefaultColor;

// id, kind, caption, tooltip, left, top, width, height (lines: x1, y1, x2, y2),
// tab index, font, colour, alignment
constexpr ui::ControlDesign kControls[] = {
  {idLabel1, Kind::Label, L"When new mail arrives....", nullptr, 120, 120, 3015, 255, 1, kVerdana825Bold},
  {idLine1, Kind::Line, nullptr, nullptr, 120, 360, 3480, 360, -1, kWindow},
  {idChkFlashDrive, Kind::CheckBox, L"Flash A:\\ drive?", nullptr, 120, 480, 3015, 255, 0, kVerdana675},
  {idChkEject, Kind::CheckBox, L"Eject CD ROM?", nullptr, 120, 840, 3015, 255, 2, kVerdana675},
  {idChkBeep, Kind::CheckBox, L"System beep?", nullptr, 120, 1200, 3015, 255, 3, kVerdana675},
  {idLine3, Kind::Line, nullptr, nullptr, 3480, 1560, 120, 1560, -1, kWindow},
  {idChkAnim, Kind::CheckBox, L"Animation?", nullptr, 120, 1680, 3015, 255, 5, kVerdana675},
  {idTxtMovie, Kind::TextBox, L"c:\\movie1.avi", L"Media file to play when email arrives", 360, 1960, 2775, 285, 6, kVerdana675},
  {idCmdBrowseAnimation, Kind::Button, L"...", nullptr, 3240, 1970, 255, 280, 18, kWindow},
  {idLabel5, Kind::Label, L"Times to loop animation:", nullptr, 360, 2350, 2415, 255, 16, kVerdana675},
  {idTxtLoop, Kind::TextBox, L"1", L"Number of times to loop the animation", 2760, 2280, 375, 285, 15, kVerdana675},
  {idChkAnimRight, Kind::CheckBox, L"Animation appears top right?", nullptr, 360, 2640, 2775, 255, 12, kVerdana675},
  {idLine4, Kind::Line, nullptr, nullptr, 3120, 3120, 120, 3120, -1, kWindow},
  {idChkFileDetect, Kind::CheckBox, L"Detect File (Outlook XP/2003 fix)?", nullptr, 120, 3240, 3015, 255, 13, kVerdana675},
  {idTxtFileDetect, Kind::TextBox, L"", L"Path & filename of temporary file (will delete the file when it's found)", 360, 3525, 2775, 285, 14, kVerdana675},
  {idCmdBrowseDetect, Kind::Button, L"...", nullptr, 3240, 3520, 255, 280, 19, kWindow},
  {idLabel6, Kind::Label, L"(note: file will be deleted)", nullptr, 960, 3840, 2175, 255, 17, kVerdana675, kGrey, Align::Right},
  {idLine2, Kind::Line, nullptr, nullptr, 3480, 4200, 120, 4200, -1, kWindow},
  {idLabel2, Kind::Label, L"Postlark: new mail, loudly", nullptr, 240, 4320, 3015, 255, 4, kVerdana825, kDarkRed, Align::Center},
  {idLabel4, Kind::Label, L"postlark.example.org", nullptr, 240, 4560, 3015, 255, 11, kVerdana825, kDarkRed, Align::Center},
  {idCommand1, Kind::Button, L"OK  (minimise)", nullptr, 480, 4920, 1335, 375, 7, kWindow},
  {idCommand2, Kind::Button, L"Exit", nullptr, 1920, 4920, 1095, 375, 8, kWindow},
  {idLblStatus, Kind::Label, L"", nullptr, 120, 5400, 2295, 255, 10, kVerdana825},
  {idLabel3, Kind::Label, L"", nullptr, 2520, 5400, 975, 255, 9, kWindow, kAuto, Align::Right},
};

}  // namespace

std::span<const ui::ControlDesign> Form1Controls() { return kControls; }

#include "app/form1_layout.h"

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

constexpr ui::LineDesign kLines[] = {
  {120, 360, 3480, 360},    // Line1
  {3480, 1560, 120, 1560},  // Line3
  {3120, 3120, 120, 3120},  // Line4
  {3480, 4200, 120, 4200},  // Line2
};

}  // namespace

// id, control, caption, tooltip, {left, top, width, height}, tab index, font,
// colour, alignment
std::vector<ui::ControlDesign> Form1Design(Form1Controls& c) {
  return {
    {idLabel1, &c.Label1, L"When new mail arrives....", nullptr, {120, 120, 3015, 255}, 1, kVerdana825Bold},
    {idChkFlashDrive, &c.chkFlashDrive, L"Flash A:\\ drive?", nullptr, {120, 480, 3015, 255}, 0, kVerdana675},
    {idChkEject, &c.chkEject, L"Eject CD ROM?", nullptr, {120, 840, 3015, 255}, 2, kVerdana675},
    {idChkBeep, &c.chkBeep, L"System beep?", nullptr, {120, 1200, 3015, 255}, 3, kVerdana675},
    {idChkAnim, &c.chkAnim, L"Animation?", nullptr, {120, 1680, 3015, 255}, 5, kVerdana675},
    {idTxtMovie, &c.txtMovie, nullptr, L"Media file to play when email arrives", {360, 1960, 2775, 285}, 6, kVerdana675},
    {idCmdBrowseAnimation, &c.cmdBrowseAnimation, L"...", nullptr, {3240, 1970, 255, 280}, 18, kWindow},
    {idLabel5, &c.Label5, L"Times to loop animation:", nullptr, {360, 2350, 2415, 255}, 16, kVerdana675},
    {idTxtLoop, &c.txtLoop, nullptr, L"Number of times to loop the animation", {2760, 2280, 375, 285}, 15, kVerdana675},
    {idChkAnimRight, &c.chkAnimRight, L"Animation appears top right?", nullptr, {360, 2640, 2775, 255}, 12, kVerdana675},
    {idChkFileDetect, &c.chkFileDetect, L"Detect File (Outlook XP/2003 fix)?", nullptr, {120, 3240, 3015, 255}, 13, kVerdana675},
    {idTxtFileDetect, &c.txtFileDetect, nullptr, L"Path & filename of temporary file (will delete the file when it's found)", {360, 3525, 2775, 285}, 14, kVerdana675},
    {idCmdBrowseDetect, &c.cmdBrowseDetect, L"...", nullptr, {3240, 3520, 255, 280}, 19, kWindow},
    {idLabel6, &c.Label6, L"(note: file will be deleted)", nullptr, {960, 3840, 2175, 255}, 17, kVerdana675, kGrey, Align::Right},
    {idLabel2, &c.Label2, L"Postlark: new mail, loudly", nullptr, {240, 4320, 3015, 255}, 4, kVerdana825, kDarkRed, Align::Center},
    {idLabel4, &c.Label4, L"postlark.example.org", nullptr, {240, 4560, 3015, 255}, 11, kVerdana825, kDarkRed, Align::Center},
    {idCommand1, &c.Command1, L"OK  (minimise)", nullptr, {480, 4920, 1335, 375}, 7, kWindow},
    {idCommand2, &c.Command2, L"Exit", nullptr, {1920, 4920, 1095, 375}, 8, kWindow},
    {idLblStatus, &c.lblStatus, L"", nullptr, {120, 5400, 2295, 255}, 10, kVerdana825},
    {idLabel3, &c.Label3, L"", nullptr, {2520, 5400, 975, 255}, 9, kWindow, kAuto, Align::Right},
  };
}

std::span<const ui::LineDesign> Form1Lines() { return kLines; }

std::vector<Binding> Form1Bindings(Form1Controls& c) {
  using settings::Options;
  return {
    {&Options::FlashDrive, &c.chkFlashDrive},
    {&Options::Eject, &c.chkEject},
    {&Options::Beep, &c.chkBeep},
    {&Options::Anim, &c.chkAnim},
    {&Options::AnimRight, &c.chkAnimRight},
    {&Options::Movie, &c.txtMovie},
    {&Options::Loop, &c.txtLoop},
    {&Options::FileDetect, &c.chkFileDetect},
    {&Options::FileDetectName, &c.txtFileDetect},
  };
}

}  // namespace app

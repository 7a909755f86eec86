#pragma once
// The options window's design: its controls, where they sit (in twips), and
// the stored options they show.
#include <span>
#include <vector>

#include "settings/options.h"
#include "ui/control_set.h"
#include "ui/controls.h"

namespace app {

// Child window ids: how the window and its tests find each control.
enum OptionsControlId {
  kHeadingLabel = 1000, kFlashDriveBox, kEjectBox, kBeepBox, kClipBox, kClipPathBox, kBrowseClipButton,
  kLoopLabel, kLoopBox, kClipRightBox, kMarkerBox, kMarkerPathBox, kBrowseMarkerButton, kMarkerNote,
  kTaglineLabel, kAddressLabel, kHideButton, kExitButton, kStatusLabel, kIdleLabel,
};

// The controls of the options window. The check boxes and text boxes show
// options and edit them.
struct OptionsControls {
  ui::Label heading, loopLabel, markerNote, tagline, address, status, idle;
  ui::CheckBox flashDriveBox, ejectBox, beepBox, clipBox, clipRightBox, markerBox;
  ui::TextBox clipPathBox, loopBox, markerPathBox;
  ui::Button browseClipButton, browseMarkerButton, hideButton, exitButton;
};

// Which control shows which option. An option without one (quiet while
// presenting) is a check mark in the tray menu, so the window keeps its
// design.
struct Binding {
  settings::Field field;
  ui::Control* control;
};

std::vector<ui::ControlDesign> OptionsDesign(OptionsControls& c);
std::span<const ui::LineDesign> OptionsLines();
std::vector<Binding> OptionsBindings(OptionsControls& c);

// Client area in twips.
inline constexpr int kOptionsWidth = 3615;
inline constexpr int kOptionsHeight = 5790;

}  // namespace app

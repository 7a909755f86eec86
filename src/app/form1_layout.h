#pragma once
// The main window's design: its controls, where they sit (in twips), and the
// stored options they hold.
#include <span>
#include <vector>

#include "settings/options.h"
#include "ui/control_set.h"
#include "ui/controls.h"

namespace app {

// Child window ids: how the window and its tests find each control.
enum Form1Control {
  idLabel1 = 1000, idChkFlashDrive, idChkEject, idChkBeep, idChkAnim, idTxtMovie,
  idCmdBrowseAnimation, idLabel5, idTxtLoop, idChkAnimRight, idChkFileDetect, idTxtFileDetect,
  idCmdBrowseDetect, idLabel6, idLabel2, idLabel4, idCommand1, idCommand2, idLblStatus, idLabel3,
};

// The controls of the main window. The check boxes and text boxes show
// options and edit them.
struct Form1Controls {
  ui::Label Label1, Label5, Label6, Label2, Label4, lblStatus, Label3;
  ui::CheckBox chkFlashDrive, chkEject, chkBeep, chkAnim, chkAnimRight, chkFileDetect;
  ui::TextBox txtMovie, txtLoop, txtFileDetect;
  ui::Button cmdBrowseAnimation, cmdBrowseDetect, Command1, Command2;
};

// Which control shows which option. An option without one (quiet while
// presenting) is a check mark in the tray menu, so the window keeps its
// design.
struct Binding {
  settings::Field field;
  ui::Control* control;
};

std::vector<ui::ControlDesign> Form1Design(Form1Controls& c);
std::span<const ui::LineDesign> Form1Lines();
std::vector<Binding> Form1Bindings(Form1Controls& c);

// Client area in twips.
inline constexpr int kForm1Width = 3615;
inline constexpr int kForm1Height = 5790;

}  // namespace app

#pragma once
// The main window's controls, as a table in twips.
#include <span>

#include "ui/form_layout.h"

enum Form1Control {
  idLabel1 = 1000, idLine1, idChkFlashDrive, idChkEject, idChkBeep, idLine3, idChkAnim,
  idTxtMovie, idCmdBrowseAnimation, idLabel5, idTxtLoop, idChkAnimRight, idLine4,
  idChkFileDetect, idTxtFileDetect, idCmdBrowseDetect, idLabel6, idLine2, idLabel2, idLabel4,
  idCommand1, idCommand2, idLblStatus, idLabel3,
};

std::span<const ui::ControlDesign> Form1Controls();

// Client area in twips.
inline constexpr int kForm1Width = 3615;
inline constexpr int kForm1Height = 5790;

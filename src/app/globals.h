#pragma once
// Process-wide state of the program beside the model: the frame, its caption text and the
// settings the view shares with the handlers. The main window sets their start values.

#include <string>

#include "model/model.h"

class QMainWindow;

/// The one model of the running program.
extern Model model;

/// The one top-level frame; null before InitMainWindow and after the frame is gone.
extern QMainWindow* fw;
/// Current caption text of the frame.
extern std::string caption;

/// Which stress the colour map shows: 1 = tau xz, 2 = tau yz, 3 = tau, 4 = none.
extern int p_rn;
/// Number of stress levels and the stepped-palette switch of the graphics settings.
extern int iizol, p_skok;

// Rubber band of the pointer: w_grup = 1 while the left button is held; (pgx, pgy) is the
// fixed corner in client pixels, (pgxx, pgyy) the moving one.
extern int w_grup, pgx, pgy, pgxx, pgyy;

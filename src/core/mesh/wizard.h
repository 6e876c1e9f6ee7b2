#pragma once
// The model wizard's core: the test of its basic data and the model it starts from. The
// wizard then asks for every element and node one by one.

#include <string>
#include <vector>

#include "edit/resize.h"
#include "model/model.h"

/// The most elements or nodes the wizard takes: each one is entered by hand.
inline constexpr int kWizardMaxCount = 100000;

/// Basic data of a new model as read from its dialog.
struct WizardData {
    int ne = 0;
    int nn = 0;
    double MS = 0;
    double G = 0;
};

/// Result of the basic-data test: the messages to show, in order, and whether it passes.
struct WizardCheck {
    std::vector<std::string> messages;
    bool accepted = false;
};

/// Accepted only with 2 <= ne and 3 <= nn, both at most kWizardMaxCount, and MS > 0 and
/// G > 0 finite in single precision. Too few elements, too many of either, and values
/// beyond single precision have a message; too few nodes and non-positive MS or G have none.
WizardCheck checkWizardData(const WizardData& d);

/// Releases whatever the model held and allocates nn nodes at (0, 0) with si = 0 and ne
/// elements on the nodes (1, 1, 1); nbw = 0. G and MS are not touched. TooLarge (with the
/// user's message) when the arrays cannot be allocated; the model is then empty. The caller
/// runs it inside the edit sequence.
EditOutcome startWizardModel(Model& m, int nn, int ne);

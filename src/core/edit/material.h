#pragma once
// The material and the load: the shear modulus G and the twisting moment MS.

#include "edit/resize.h"
#include "model/model.h"

/// Sets G; obliczono = 0. Refused with the user's message when G <= 0 or G is not a finite
/// float.
EditOutcome setShearModulus(Model& m, double G);

/// Sets MS, zero and negative moments included; obliczono = 0. Refused with the user's
/// message when MS is not a finite float.
EditOutcome setTwistingMoment(Model& m, double MS);

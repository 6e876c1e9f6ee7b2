#pragma once
// The results at a glance: the largest nodal stress and the one-line summary the main
// window's status line shows after every command.

#include <string>

#include "model/model.h"
#include "solver/driver.h"

/// The largest nodal resultant stress (ww column 3) and its node, the lowest-numbered of
/// equal ones; node 0 without current results.
struct NodalPeak {
    int node = 0;
    float tau = 0.0f;
};
NodalPeak largestNodalStress(const Model& m);

/// The lowest-numbered element whose corners span no area, 0 when none.
int zeroAreaElement(const Model& m);

/// The status line (UTF-8, '.' as decimal point): the results of `last` while they are
/// current, why `last` failed, or that there are no current results; always G and MS.
/// `last` is the outcome of the latest computation, null when the model changed after it.
std::string statusLine(const Model& m, const ComputeOutcome* last);

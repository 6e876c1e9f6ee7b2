#pragma once
// Pointer work on the model: the node under the pointer, the read-out line and the group of
// nodes inside a rubber-band rectangle. Positions are model coordinates; the caller maps
// pixels through the view mapping.

#include <string>

#include "model/model.h"

/// The highest-numbered node within +-dx, +-dy of (wx, wy); 0 when none, when there is no
/// project or when the model has fewer than two nodes.
int nodeUnderPointer(const Model& m, float wx, float wy, float dx, float dy);

/// The read-out line (UTF-8) for pointer point (wx, wy) and node `el` (0 = none). The nodal
/// stress in column p_rn of ww is shown only with current results and the colour map on
/// (p_napr != 0); a column outside ww shows the node number instead. The decimal point is
/// always '.', whatever the process locale.
std::string readOutText(const Model& m, float wx, float wy, int el, int p_napr, int p_rn);

/// Drops any selection, then selects the nodes with wx1 <= x <= wx2 and wy1 <= y <= wy2 (the
/// corners in any order, bounds included). Sets j_grupa, i_grp and s_grp (increasing node
/// numbers); returns the number selected. No project or no nodes selects nothing.
int selectNodesInRect(Model& m, float wx1, float wy1, float wx2, float wy2);

/// Releases s_grp and sets j_grupa = i_grp = 0.
void clearSelection(Model& m);

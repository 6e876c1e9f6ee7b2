#pragma once
// Operations on the selected node group (j_grupa, s_grp[1..i_grp]): move, copy with a
// displacement, delete. The caller runs them inside the edit sequence (see edit/resize.h);
// each leaves the model as it was when it fails.

#include "edit/resize.h"
#include "model/model.h"

/// Moves every node of the group by (dx, dy); obliczono = 0, the selection stays. Refused
/// silently without a group, with a message when a coordinate would leave single precision.
EditOutcome moveGroup(Model& m, double dx, double dy);

/// Appends a copy of every group node, displaced by (dx, dy), numbered nn + k for the k-th
/// group node; with `elements`, also a copy of every element whose three corners are all in
/// the group, its corners being the copies listed in increasing order of the source nodes.
/// Nothing is merged; the selection still names the source nodes. Refused as moveGroup;
/// TooLarge as growModel.
EditOutcome copyGroup(Model& m, double dx, double dy, bool elements);

/// What deleting the group removes.
struct GroupCounts {
    int nodes = 0;
    int elements = 0;  ///< every element with at least one corner in the group
};
GroupCounts countGroupDeletion(const Model& m);

/// Deletes the group's nodes and every element that uses any of them; the rest is renumbered
/// densely in its old order and the selection is cleared. Refused silently without a group.
EditOutcome deleteGroup(Model& m);

#pragma once
// Merging coincident nodes: joins patches that were appended side by side and folds copies
// laid over the original back into it. The caller runs it inside the edit sequence (see
// edit/resize.h); Pusty is not tested.

#include "edit/resize.h"
#include "model/model.h"

struct MergeResult {
    EditOutcome outcome;
    int nodesMerged = 0;      ///< nodes removed because they lay on a survivor
    int elementsRemoved = 0;  ///< elements that became degenerate or duplicates
};

/// Relative tolerance: nodes closer than this fraction of the model's extent coincide.
inline constexpr double kMergeTolerance = 1e-6;

/// Merges every node within tol = kMergeTolerance · extent (Euclidean distance, bound
/// included) of a survivor into it; the extent is the larger of the x and y ranges of all
/// nodes, so an extent of 0 merges exactly equal positions only. Nodes are taken in
/// increasing number and a node merges into the lowest-numbered earlier survivor within tol;
/// merged nodes never attract others, so chains do not form. A node with a non-finite
/// coordinate is left alone and does not count in the extent.
///
/// Corners move onto the survivors through removeItems. An element with a moved corner is
/// removed when two of its corners become equal, or when its three corners (in any order)
/// are those of another element: a copy laid over the original would otherwise count its
/// stiffness twice. Of such duplicates one whose corners did not move is kept, else the
/// lowest-numbered one; duplicates that merging did not make are left as they are.
///
/// With nothing to merge the model is not touched and both counts are 0. Refused when the
/// model is not consistent; TooLarge as removeItems. Either leaves the model as it was.
MergeResult mergeNodes(Model& m);

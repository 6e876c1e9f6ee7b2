#pragma once
// Bandwidth-reducing order of the equations, used only inside a computation: the model's
// node numbers never change.

#include <vector>

#include "model/model.h"

/// A permutation of the nodes: node[k] is the model node (1-based) solved as equation k
/// (0-based), pos[i] the equation of model node i (pos[0] unused).
struct Ordering {
    std::vector<int> node;
    std::vector<int> pos;
    int nbw = 0;  ///< half-band (diagonal included) of the elements in this order
};

/// Reverse Cuthill–McKee over the graph of nodes that share an element. Each connected piece
/// starts from a pseudo-peripheral node; ties are broken by degree, then by node number, so
/// the same model always gives the same order. Requires every noc entry in 1..nn.
Ordering reverseCuthillMcKee(const Model& m);

/// Half-band (diagonal included) of the elements under the given equation positions.
int halfBand(const Model& m, const std::vector<int>& pos);

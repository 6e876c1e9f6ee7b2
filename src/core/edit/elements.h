#pragma once
// Single-element edits: the element node test, append, change, delete with renumbering. The
// caller runs them inside the edit sequence (see edit/resize.h); each leaves the model as it
// was when it fails.

#include <string>
#include <vector>

#include "edit/resize.h"
#include "model/model.h"

/// Which element node test: the editing commands' leaves two repeated-node cases without a
/// message; the wizard's names every case.
enum class NodeTest { Edit, Wizard };

/// The element node test of the triple (w1, w2, w3) against nodes 1..nn.
struct ElementCheck {
    /// The error texts to show, in order; in the editing test empty for a refused triple with
    /// w1 = w3 or w2 = w3 and every number in range, which is refused without a word.
    std::vector<std::string> messages;
    /// True only when all three lie in 1..nn and are pairwise different.
    bool accepted = false;
};
ElementCheck checkElementNodes(int nn, int w1, int w2, int w3, NodeTest test = NodeTest::Edit);

/// Appends element ne + 1 with corners (w1, w2, w3) in the order given. Refused when the
/// element node test refuses them; TooLarge as growModel.
EditOutcome appendElement(Model& m, int w1, int w2, int w3);

/// Gives element k the corners (w1, w2, w3); obliczono = 0. Refused when k is not in 1..ne
/// or the element node test refuses them.
EditOutcome setElementNodes(Model& m, int k, int w1, int w2, int w3);

/// Deletes element k; the elements after it move down by one number. Nodes stay, also those
/// only k used. Refused when k is not in 1..ne. Clears the group selection.
EditOutcome deleteElement(Model& m, int k);

#include "label_grid.h"

#include <algorithm>

LabelGrid::LabelGrid(int w, int h)
    : w_(std::max(w, 0)),
      h_(std::max(h, 0)),
      cols_(w_ / kCell + 1),
      rows_(h_ / kCell + 1),
      cells_(static_cast<size_t>(cols_) * static_cast<size_t>(rows_)) {}

bool LabelGrid::take(const QRect& box) {
    const QRect inside = box & QRect(0, 0, w_, h_);
    if (inside.isEmpty()) return false;
    // Boxes reaching out of the area are listed in the cells they reach inside; the part
    // outside is never seen, so nothing there needs to stay free.
    const int c0 = inside.left() / kCell, c1 = inside.right() / kCell;
    const int r0 = inside.top() / kCell, r1 = inside.bottom() / kCell;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            for (const QRect& other : cells_[static_cast<size_t>(r * cols_ + c)])
                if (other.intersects(box)) return false;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            cells_[static_cast<size_t>(r * cols_ + c)].push_back(box);
    return true;
}

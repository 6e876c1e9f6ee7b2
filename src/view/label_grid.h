#pragma once
// Room for labels: a label is written only where its box covers no box written before, so a
// fine mesh shows the numbers that fit instead of a blot. Boxes are kept in square cells of a
// grid over the client area, each box listed in every cell it touches.

#include <QRect>
#include <vector>

class LabelGrid {
  public:
    /// An empty grid over a client area of w x h pixels.
    LabelGrid(int w, int h);

    /// True when `box` reaches into the client area and overlaps no box taken so far; the box
    /// is then taken. A box wholly outside the area is never taken.
    bool take(const QRect& box);

  private:
    static constexpr int kCell = 32;
    int w_, h_, cols_, rows_;
    std::vector<std::vector<QRect>> cells_;
};

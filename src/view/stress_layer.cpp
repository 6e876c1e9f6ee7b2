#include "view/stress_layer.h"

void paintStressLayer(QPainter&, QSize, const Model&, const ViewOptions&, const ViewMapping&, int) {
    // The colour map and colour bar are not drawn yet.
}

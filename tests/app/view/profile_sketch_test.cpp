// The profile sketches: every kind drawn, filled and dimensioned, inside the area it is given.
#include "view/profile_sketch.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "geometry/profile.h"

namespace {

TEST(ProfileSketch, EveryKindIsFilledAndDimensionedWithinItsArea) {
    const QRect area(20, 15, 260, 180);
    for (const geometry::ProfileInfo& kind : geometry::profileInfos()) {
        SCOPED_TRACE(kind.label);
        QImage img(300, 210, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            paintProfileSketch(p, QRectF(area), kind.kind);
        }
        int filled = 0, ink = 0, outside = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c == Qt::white) continue;
                if (!area.contains(x, y)) ++outside;
                if (std::abs(c.red() - 190) < 8 && std::abs(c.green() - 205) < 8 &&
                    std::abs(c.blue() - 225) < 8)
                    ++filled;
                if (c.blue() > c.red() + 60) ++ink;
            }
        EXPECT_GT(filled, area.width() * area.height() / 25) << "the section's fill";
        EXPECT_GT(ink, 40 * static_cast<int>(kind.dims.size())) << "dimension lines and names";
        EXPECT_EQ(outside, 0);
    }
}

TEST(ProfileSketch, TypicalDimensionsAreSectionsTheCoreAccepts) {
    for (const geometry::ProfileInfo& kind : geometry::profileInfos()) {
        geometry::Profile p;
        p.kind = kind.kind;
        p.dims = typicalDimensions(kind.kind);
        EXPECT_EQ(p.dims.size(), kind.dims.size()) << kind.label;
        EXPECT_TRUE(geometry::profileOutlines(p).ok()) << kind.label;
    }
}

}  // namespace

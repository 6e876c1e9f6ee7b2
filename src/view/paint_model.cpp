#include "paint_model.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "detail_level.h"
#include "label_grid.h"
#include "mesh_layers.h"
#include "stress_layer.h"

const char* const kZbytMaleOkno = "Zbyt małe okno aby wyświetlić projekt";

QFont labelFont() {
    // The size is given as a character cell (ascent + descent); Qt sizes fonts by the em,
    // so take the largest pixel size whose cell still fits into 12 pixels.
    static const QFont font = [] {
        QFont f("Arial");
        f.setWeight(QFont::Normal);
        f.setStyleStrategy(QFont::NoAntialias);
        int px = 12;
        for (; px > 1; --px) {
            f.setPixelSize(px);
            if (QFontMetrics(f).height() <= 12) break;
        }
        f.setPixelSize(px);
        return f;
    }();
    return font;
}

void paintModel(QPainter& p, QSize client, const Model& m, const ViewOptions& o,
                ViewMapping& mapping) {
    const int i_izo = std::clamp(o.iizol, 1, 200);
    if (m.Pusty != 0) return;

    const float w = static_cast<float>(client.width()), h = static_cast<float>(client.height());
    mapping.hmax = client.height();

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    // Texts stand on an opaque white box, as on a fresh drawing surface.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    p.fillRect(QRect(QPoint(0, 0), client), Qt::white);

    if (m.nn > 0) {
        if (h <= kMinClientSide || w <= kMinClientSide) {
            QFont f = p.font();
            f.setStyleStrategy(QFont::NoAntialias);
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(QPoint(10, 10 + QFontMetrics(p.font()).ascent()),
                       QString::fromUtf8(kZbytMaleOkno));
        } else if (modelConsistent(m)) {
            mapping.fit(m, w, h);
            p.setFont(labelFont());
            MeshPaint mp{p, m, o, mapping, w, h};
            // Texts are anchored at their top-left corner, Qt's at the baseline.
            mp.measureFont();
            // Element and node numbers share the room: none covers another.
            LabelGrid labels(client.width(), client.height());
            mp.labels = &labels;
            // Layers too dense to read at this scale give way to the map and the boundary.
            const int digit = *std::max_element(mp.digit.begin(), mp.digit.end());
            mp.detail =
                detailLevel(meshSpacing(m, mapping, w, h), numberBox(m.nn, digit, mp.height),
                            numberBox(m.ne, digit, mp.height));
            if (m.ne > 0 && o.p_napr == 1 && m.obliczono == 1)
                paintStressLayer(p, client, m, o, mapping, i_izo);
            drawBoundary(mp);
            prepareWarp(mp);
            drawElements(mp);
            if (o.p_wez == 1 && mp.detail.marks) drawNodeMarks(mp);
            if (m.j_grupa == 1) drawGroupMarks(mp);
            // The supports layer (p_podp) has nothing to draw: the model holds no supports.
            mp.text = QColor(0, 0, 255);
            if (o.p_n_wezl == 1 && mp.detail.nodeNumbers) drawNodeNumbers(mp);
            mp.text = QColor(255, 0, 0);
            if (o.p_sily == 1) drawLoadArrows(mp);
            if (o.p_n_pola == 1 && m.obliczono == 1) drawWarpLegend(mp);
        }
    }
    p.restore();
}

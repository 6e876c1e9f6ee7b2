#include "picture_file.h"

#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

const char* const kCannotWrite = "Nie można zapisać danych do pliku";

}  // namespace

PictureFormat pictureFormatOf(const std::string& path) {
    return QString::fromStdString(path).endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)
               ? PictureFormat::Svg
               : PictureFormat::Png;
}

QImage renderPicture(QSize size, const Model& m, const ViewOptions& o, ViewMapping mapping) {
    QImage img(size, QImage::Format_RGB32);
    // What the window's background erase leaves: a picture without a project stays white.
    img.fill(Qt::white);
    QPainter p(&img);
    paintModel(p, size, m, o, mapping);
    return img;
}

std::string savePicture(const std::string& path, QSize size, const Model& m, const ViewOptions& o,
                        const ViewMapping& mapping) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return kCannotWrite;
    if (pictureFormatOf(path) == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("WIRTOR"));
        QPainter p;
        if (!p.begin(&svg)) return kCannotWrite;
        p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        ViewMapping map = mapping;
        paintModel(p, size, m, o, map);
        p.end();
    } else if (!renderPicture(size, m, o, mapping).save(&file, "PNG")) {
        return kCannotWrite;
    }
    if (!file.commit()) return kCannotWrite;
    return {};
}

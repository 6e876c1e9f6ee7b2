// The picture of the batch tool: the program's painting routine on an image or SVG, under
// Qt's offscreen platform so that no display is needed.
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "picture.h"
#include "view/picture_file.h"
#include "view/stress_layer.h"

std::string writePicture(const PictureRequest& r, const Model& m) {
    // Fonts need an application object; the offscreen platform needs no display, whatever the
    // environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns on stderr when the environment names no runtime directory; a private one lives
    // as long as the picture.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // It lives only while the picture is drawn: gone before the tool ends, it leaves nothing
    // of the font machinery behind.
    int argc = 1;
    char name[] = "wirtor-calc";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);

    // The switches and settings the program starts with, the chosen map over them.
    ViewOptions o;
    o.p_napr = r.rn == 0 ? 0 : 1;
    o.p_rn = r.rn == 0 ? 3 : r.rn;
    const StressPalette palette = stressPalette(1);
    o.knapr = &palette;
    return savePicture(r.path, QSize(r.w, r.h), m, o, ViewMapping{});
}

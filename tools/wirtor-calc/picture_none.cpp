// The batch tool of the core-only build: it computes and reports but draws nothing.
#include "picture.h"

std::string writePicture(const PictureRequest&, const Model&) {
    return "ta kompilacja programu nie zapisuje rysunków (zbudowano ją bez Qt)";
}

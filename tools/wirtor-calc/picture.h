#pragma once
// The picture the batch tool draws with the program's own painting routine, and its options:
// --picture OUT.png|OUT.svg, --size WxH, --map tau|xz|yz|none.

#include <string>

#include "model/model.h"

struct PictureRequest {
    std::string path;  ///< empty: no picture
    int w = 1280;
    int h = 1024;
    int rn = 3;  ///< stress shown: 1 tau xz, 2 tau yz, 3 tau, 0 no map
};

/// Takes the picture options out of argv[1..argc-1], keeping the other arguments in order. Any
/// other argument that starts with '-' but is not --times, --help or -h is refused. Returns ""
/// or the message that says why the options were refused.
std::string takePictureOptions(int& argc, char** argv, PictureRequest& r);

/// Draws the computed model as the program's window would show it at r.w x r.h with the
/// start switches, and writes it; no display is needed. Returns "" or the failure's message.
std::string writePicture(const PictureRequest& r, const Model& m);

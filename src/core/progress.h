#pragma once
// Progress of a long core operation, and the caller's way to stop it.

#include <functional>

/// Called now and then with the stage's name and the fraction done (0..1, or -1 when the
/// stage cannot measure it); returns false to cancel. May be empty: nothing is reported.
using Postep = std::function<bool(const char* etap, double czesc)>;

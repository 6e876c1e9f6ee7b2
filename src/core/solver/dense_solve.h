#pragma once
// Small dense linear systems (the hole constants), by elimination with partial pivoting.

#include <vector>

/// Solves a·x = b in place of b; false when a pivot is 0 or not finite (b is then undefined).
bool denseSolve(std::vector<std::vector<double>> a, std::vector<double>& b);

#pragma once
// Numbers as the section file writes them: decimal point or comma, no locale.

#include <string>
#include <string_view>

namespace geometry {

/// How a word reads as a number.
enum class NumberRead { Ok, NotANumber, OutOfRange };

/// Reads `word` as [sign] digits [. or , digits] [e|E [sign] digits], at least one mantissa
/// digit and nothing else; a value too small for a double gives a signed zero, one too large
/// is OutOfRange.
NumberRead readNumberText(std::string_view word, double& value);

/// The shortest text with a decimal point that reads back as exactly `v`.
std::string numberText(double v);

}  // namespace geometry

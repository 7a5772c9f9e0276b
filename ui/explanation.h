#pragma once

#include <array>

namespace pythagoras {

// What the panel says about the two constructions, one entry a printed line; an empty entry is
// an empty line. Each paragraph opens with an ideographic space.
extern const std::array<const char*, 8> ExplanationLines;

} // namespace pythagoras

#pragma once

#include <cstdint>
#include <stdexcept>

namespace pythagoras {

// The window's current triple. Created as zeros; the first activation resets it before anyone
// reads it.
struct TripleState {
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
};

enum class TripleMethod { Pythagoras, Plato };

constexpr std::int32_t StartA = 3;
constexpr std::int32_t LimitA = 1000;

// Raised when a whole number leaves the signed 32-bit range.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// Raised when a double computation leaves an invalid operation, a division by zero or an
// overflow in the floating-point status.
class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void ResetTriple(TripleState& state);
// Steps a by one; false (and nothing changed) once a has reached the limit.
bool AdvanceTriple(TripleState& state);
TripleMethod MethodOf(std::int32_t a);
void ComputeTriple(TripleState& state);

// Rounds to the nearest integer, halves to the even neighbour; OverflowError outside int32.
std::int32_t ToInt32(double value);

// Runs one double computation on `operand` with the error flags cleared beforehand, and raises
// FloatingPointError if it left invalid, division-by-zero or overflow behind. Inexact and
// underflow are not errors.
double CheckedStep(double operand, double (*compute)(double));

} // namespace pythagoras

#include "triple.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace pythagoras {
namespace {

constexpr double Exponent = 2.0;
constexpr double Divisor = 2.0;
constexpr double Offset = 1.0;

constexpr int ErrorFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

double HalfSquareLess(double x)
{
    return (std::pow(x, Exponent) - Offset) / Divisor;
}
double HalfSquareMore(double x)
{
    return (std::pow(x, Exponent) + Offset) / Divisor;
}
double Half(double x)
{
    return x / Divisor;
}
double SquareLess(double h)
{
    return std::pow(h, Exponent) - Offset;
}
double SquareMore(double h)
{
    return std::pow(h, Exponent) + Offset;
}

void ComputePythagoras(TripleState& state)
{
    state.b = ToInt32(CheckedStep(static_cast<double>(state.a), HalfSquareLess));
    // c is computed from a again, never derived from b.
    state.c = ToInt32(CheckedStep(static_cast<double>(state.a), HalfSquareMore));
}

void ComputePlato(TripleState& state)
{
    const double h = CheckedStep(static_cast<double>(state.a), Half);
    state.b = ToInt32(CheckedStep(h, SquareLess));
    const double h2 = CheckedStep(static_cast<double>(state.a), Half);
    state.c = ToInt32(CheckedStep(h2, SquareMore));
}

} // namespace

double CheckedStep(double operand, double (*compute)(double))
{
    // The compiler treats double arithmetic as free of side effects and may move it across the
    // flag calls. Reading the operand and writing the result through volatiles pins the
    // computation between the clear and the test.
    std::feclearexcept(ErrorFlags);
    volatile double in = operand;
    volatile double out = compute(in);
    if (std::fetestexcept(ErrorFlags) != 0) {
        std::feclearexcept(ErrorFlags);
        throw FloatingPointError("floating-point error");
    }
    return out;
}

std::int32_t ToInt32(double value)
{
    // nearbyint follows the current rounding mode, which the program never changes from
    // round-to-nearest-even; unlike rint it leaves the inexact flag alone.
    const double rounded = std::nearbyint(value);
    constexpr double Lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double Highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (!(rounded >= Lowest && rounded <= Highest)) { // NaN fails both comparisons
        throw OverflowError("overflow");
    }
    return static_cast<std::int32_t>(rounded);
}

void ResetTriple(TripleState& state)
{
    state.a = StartA;
    ComputePythagoras(state); // fixed here, not chosen by parity
}

bool AdvanceTriple(TripleState& state)
{
    if (state.a >= LimitA) {
        return false;
    }
    std::int32_t next = 0;
    if (__builtin_add_overflow(state.a, 1, &next)) {
        throw OverflowError("overflow");
    }
    state.a = next;
    return true;
}

TripleMethod MethodOf(std::int32_t a)
{
    return a % 2 == 0 ? TripleMethod::Plato : TripleMethod::Pythagoras;
}

void ComputeTriple(TripleState& state)
{
    if (MethodOf(state.a) == TripleMethod::Plato) {
        ComputePlato(state);
    } else {
        ComputePythagoras(state);
    }
}

} // namespace pythagoras

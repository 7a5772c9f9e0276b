#include "explanation.h"

namespace pythagoras {

// The formulas mix ASCII "(", ")", "^", "2" and one blank before "で" with full-width letters,
// digits and signs; keep them as they are.
const std::array<const char*, 8> ExplanationLines = {
    "",
    "　三平方の定理を満たす正の整数の組（ａ，ｂ，ｃ）をピタゴラス数と言います。",
    "",
    "　ａが奇数のとき、ｂ＝(ａ^2－１)÷２、ｃ＝(ａ^2＋１)÷２ で、ピタゴラス数が求められます。",
    "　この方法を「ピタゴラスの方法」言います。",
    "",
    "　ａが偶数のとき、ｂ＝(ａ÷２)^2－１、ｃ＝(ａ÷２)^2＋１ で、ピタゴラス数が求められます。",
    "　この方法を「プラトンの方法」言います。",
};

} // namespace pythagoras

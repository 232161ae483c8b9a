#pragma once

namespace tintavo {

// Integer division rounding towards minus infinity (C++ rounds towards zero).
constexpr int floorDiv(int value, int divisor)
{
    const int q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

static_assert(floorDiv(-1, 16) == -1 && floorDiv(-16, 16) == -1 && floorDiv(17, 16) == 1);

} // namespace tintavo

// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/clock.h"

#include <chrono>

int64_t clock_ticks() {
    using ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
    return std::chrono::duration_cast<ticks>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

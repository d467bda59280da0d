// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A monotonic clock read in ticks of 100 ns (10,000,000 per second), so that
// an adjustment of the system time cannot make an interval negative.
int64_t clock_ticks();

constexpr double ticks_per_second = 10000000.0;

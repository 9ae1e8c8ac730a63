// Numbers of the dialog and its player.
#pragma once

#include "simulation/sim_clock.h"

// Period of the frame timer; play restarts it with the same period.
constexpr int kTimerPeriodMs = 30;

// The increment's range belongs to the clock.
using barywalk::kMaxIncrementDays;
using barywalk::kMinIncrementDays;

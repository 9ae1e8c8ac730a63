// Numbers of the dialog and its player.
#pragma once

#include "analysis/play_clock.h"

// Period of the frame timer; play restarts it with the same period.
constexpr int kTimerPeriodMs = 30;

// Range of the increment, in days per step: one minute to one year.
constexpr double kMinIncrementDays = barywalk::kMinPlayIncrementDays;
constexpr double kMaxIncrementDays = barywalk::kMaxPlayIncrementDays;

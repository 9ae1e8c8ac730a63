// Numbers of the dialog and its player.
#pragma once

// Period of the frame timer; play restarts it with the same period.
constexpr int kTimerPeriodMs = 30;

// Range of the increment, in days per step: one minute to one year.
constexpr double kMinIncrementDays = 1.0 / 1440.0;
constexpr double kMaxIncrementDays = 365.0;

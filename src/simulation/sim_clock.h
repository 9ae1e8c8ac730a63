// The player's clock: how one tick moves the simulated time, when a run
// ends, and when the Sun's new place is offered to the trail. The dialog's
// player and barywalk-render both step through these.
#pragma once

namespace barywalk {

// The increment the clock steps by: `days` kept to the increment's range
// (kIncrementSetting); NaN becomes the minimum. (While the user is still
// typing, the increment field reports its text unchecked.)
double ClampIncrement(double days);

// One tick of a playing clock. Moves `simTime` (Julian day) by the clamped
// `incrementDays`, forwards or, with `reverse`, backwards. Returns true when
// this step ends the run: forwards once the time is at or past `endTime`,
// backwards once it is strictly before `startTime`. The time keeps the value
// just computed; it is not clamped to the end or the start.
bool AdvanceClock(double& simTime, double incrementDays, bool reverse, double startTime,
                  double endTime);

// Whether a tick offers the Sun's new centre to the trail: only while
// playing forwards (the trail then keeps it by its own 10-day rule).
bool TrailTakesPoint(bool playing, bool paused, bool reverse);

}  // namespace barywalk

#pragma once

namespace search {

// Waits `seconds` while the application keeps handling its events (painting, clicks, timers),
// without using the processor meanwhile. The time is measured on a monotonic clock, so a wait
// across midnight or a clock change still lasts exactly as long. Zero, negative and NaN return
// at once. GUI thread; without an application object it simply sleeps.
void Delay(double seconds);

} // namespace search

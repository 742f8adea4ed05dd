// platform/TClock.h: the millisecond clock and sleep used by frame pacing, replaceable for tests.
#pragma once
#include <cstdint>
#include <memory>

namespace ravel
{

/// A source of milliseconds and a way to wait.
class TClock
{
  public:
    /// Releases the clock.
    virtual ~TClock() = default;
    /// Milliseconds since an arbitrary fixed point; never decreases.
    virtual std::int64_t NowMs() = 0;
    /// Waits for about the given number of milliseconds (nothing for 0 or less).
    virtual void SleepMs(std::int64_t ms) = 0;
};
/// A shared handle on a clock.
using TClockRef = std::shared_ptr<TClock>;

/// Makes the clock the one used by frame pacing; null restores the system clock.
int SetClock(const TClockRef& clock);
/// The clock in use.
TClock& GetClock();

} // namespace ravel

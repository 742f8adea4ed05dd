// platform/TClock.cpp: the system clock over the steady clock of the standard library.
#include "platform/TClock.h"

#include <chrono>
#include <thread>

namespace ravel
{

namespace
{
class SystemClock : public TClock
{
  public:
    std::int64_t NowMs() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void SleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

SystemClock systemClock;
TClockRef activeClock;
} // namespace

int SetClock(const TClockRef& clock)
{
    activeClock = clock;
    return 0;
}

TClock& GetClock()
{
    if (activeClock)
        return *activeClock;
    return systemClock;
}

} // namespace ravel

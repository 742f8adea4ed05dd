// tests/platform/FakeDriver.h: a driver that records every call, a surface that records focus
// changes, and a clock that moves only when told: the drawing front end observed from below.
#pragma once
#include "platform/Graphics2D.h"
#include "platform/TClock.h"
#include "platform/TDriver2D.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ravel::test
{

class FakeClock : public TClock
{
  public:
    std::int64_t now = 1000;
    std::vector<std::int64_t> sleeps;
    std::int64_t NowMs() override { return now; }
    void SleepMs(std::int64_t ms) override
    {
        sleeps.push_back(ms);
        if (ms > 0)
            now += ms;
    }
};

class FakeGraphics : public TGraphics
{
  public:
    std::vector<int> focus;
    int closed = 0, centred = 0;
    std::function<void()> onClose; ///< run as it closes, for example to queue the events a window sends
    void Close() override
    {
        ++closed;
        if (onClose)
            onClose();
    }
    void FocusChanged(int gained) override { focus.push_back(gained); }
    void CentrePointer() override { ++centred; }
};

struct Call
{
    std::string name;
    std::vector<float> args;
};

class FakeDriver;

class FakeFrame : public TImageFrame
{
  public:
    FakeFrame(FakeDriver& d, int i) : driver(d), id(i) {}
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    FakeDriver& driver;
    int id;
};

class FakeDriver : public TDriver2D
{
  public:
    std::shared_ptr<FakeClock> clock;
    std::vector<Call> calls;
    int flipMs[2] = {0, 0};        // time a Flip(0) and a Flip(1) take on the clock
    std::vector<int> flip1Pattern; // when not empty, successive Flip(1) durations, repeated
    std::size_t flip1Index = 0;
    bool refuse = false;
    int framesMade = 0;
    std::shared_ptr<FakeGraphics> last;

    void Log(const std::string& name, std::vector<float> args = {})
    {
        calls.push_back({name, std::move(args)});
    }
    std::vector<Call> Named(const std::string& name) const
    {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.name == name)
                out.push_back(c);
        return out;
    }

    std::vector<TGraphicsMode> GraphicsModes() override { return {}; }
    TGraphicsRef AttachGraphics(void*, int) override { return nullptr; }
    TGraphicsRef CreateGraphics(int w, int h, int depth, int hz, int flags) override
    {
        Log("CreateGraphics", {float(w), float(h), float(depth), float(hz), float(flags)});
        if (refuse)
            return nullptr;
        last = std::make_shared<FakeGraphics>();
        last->width = w;
        last->height = h;
        last->depth = depth;
        last->hz = hz;
        last->flags = flags;
        return last;
    }
    std::string LastError() const override { return refuse ? "refused" : ""; }
    int SetGraphics(const TGraphicsRef& g) override
    {
        Log("SetGraphics", {g ? 1.0f : 0.0f});
        return 0;
    }
    int Flip(int sync) override
    {
        Log("Flip", {float(sync)});
        int ms = flipMs[sync ? 1 : 0];
        if (sync && !flip1Pattern.empty())
            ms = flip1Pattern[flip1Index++ % flip1Pattern.size()];
        if (clock)
            clock->now += ms;
        return 0;
    }
    std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const TPixmapRef&, int flags) override
    {
        Log("CreateFrame", {float(flags)});
        return std::make_shared<FakeFrame>(*this, framesMade++);
    }
    int SetBlend(int m) override { return Log("SetBlend", {float(m)}), 0; }
    int SetAlpha(float a) override { return Log("SetAlpha", {a}), 0; }
    int SetColor(int r, int g, int b) override { return Log("SetColor", {float(r), float(g), float(b)}), 0; }
    int SetClsColor(int r, int g, int b) override
    {
        return Log("SetClsColor", {float(r), float(g), float(b)}), 0;
    }
    int SetViewport(int x, int y, int w, int h) override
    {
        return Log("SetViewport", {float(x), float(y), float(w), float(h)}), 0;
    }
    int SetTransform(float a, float b, float c, float d) override
    {
        return Log("SetTransform", {a, b, c, d}), 0;
    }
    int SetLineWidth(float w) override { return Log("SetLineWidth", {w}), 0; }
    int Cls() override { return Log("Cls"), 0; }
    int Plot(float x, float y) override { return Log("Plot", {x, y}), 0; }
    int DrawLine(float a, float b, float c, float d, float tx, float ty) override
    {
        return Log("DrawLine", {a, b, c, d, tx, ty}), 0;
    }
    int DrawRect(float a, float b, float c, float d, float tx, float ty) override
    {
        return Log("DrawRect", {a, b, c, d, tx, ty}), 0;
    }
    int DrawOval(float a, float b, float c, float d, float tx, float ty) override
    {
        return Log("DrawOval", {a, b, c, d, tx, ty}), 0;
    }
    int DrawPoly(const std::vector<float>& xy, float hx, float hy, float tx, float ty) override
    {
        std::vector<float> args = xy;
        args.insert(args.end(), {hx, hy, tx, ty});
        return Log("DrawPoly", args), 0;
    }
    int DrawPixmap(const TPixmap&, int x, int y) override
    {
        return Log("DrawPixmap", {float(x), float(y)}), 0;
    }
    TPixmapRef GrabPixmap(int, int, int, int) override { return nullptr; }
};

inline void FakeFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    driver.Log("FrameDraw", {float(id), x0, y0, x1, y1, tx, ty});
}

/// A fresh fake driver and clock for every test, the driver chosen and the clock installed.
class FakeDriverTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        clock = std::make_shared<FakeClock>();
        driver = std::make_shared<FakeDriver>();
        driver->clock = clock;
        SetClock(clock);
        SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
    }
    void TearDown() override
    {
        SetGraphicsDriver(nullptr, GRAPHICS_BACKBUFFER);
        SetClock(nullptr);
    }
    // Opens and forgets the calls made while opening.
    void Open(int w = 320, int h = 200, int depth = 0, int hz = 0)
    {
        ASSERT_TRUE(OpenGraphics(w, h, depth, hz, 0));
        driver->calls.clear();
    }

    std::shared_ptr<FakeClock> clock;
    std::shared_ptr<FakeDriver> driver;
};

inline void ExpectArgs(const Call& call, const std::vector<float>& want)
{
    ASSERT_EQ(call.args.size(), want.size()) << call.name;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(call.args[i], want[i], 1e-5f) << call.name << " argument " << i;
}

} // namespace ravel::test

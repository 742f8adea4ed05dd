// tests/demo/ControlsTest.cpp: the car's controls: keys held together, and a joystick on SDL's
// virtual joystick.
#include "tests/demo/DemoFixture.h"

#include <cmath>

namespace ravel::demo::test
{
namespace
{

// A plain joystick with three axes (X, Y, Z) and four buttons; detached when the test ends.
struct TVirtualStick
{
    TVirtualStick()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 3;
        desc.nbuttons = 4;
        desc.name = "demo test stick";
        int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0)
        {
            id = SDL_JoystickGetDeviceInstanceID(index);
            handle = SDL_JoystickOpen(index);
        }
    }
    ~TVirtualStick()
    {
        if (!handle)
            return;
        SDL_JoystickClose(handle);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }
    void Axis(int axis, float value)
    {
        SDL_JoystickSetVirtualAxis(handle, axis, static_cast<Sint16>(std::lround(value * 32767.0f)));
    }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0); }
    SDL_JoystickID id = -1;
    SDL_Joystick* handle = nullptr;
};

// Signed change of heading from `from` to `to`, degrees.
float Turned(float from, float to)
{
    float d = to - from;
    while (d > 180.0f)
        d -= 360.0f;
    while (d < -180.0f)
        d += 360.0f;
    return d;
}

class ControlsTest : public DemoTest
{
  protected:
    void SetUp() override
    {
        DemoTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        int before = JoystickCount();
        stick = std::make_unique<TVirtualStick>();
        ASSERT_TRUE(stick->handle) << SDL_GetError();
        ASSERT_EQ(JoystickCount(), before + 1);
        car->con = before; // the port of the new device
    }
    void TearDown() override
    {
        stick.reset();
        DemoTest::TearDown();
    }
    // Drives `steps` frames and returns how far the heading turned.
    float HeadingChange(int steps)
    {
        float start = car->chassis->GetRotation();
        Step(steps);
        return Turned(start, car->chassis->GetRotation());
    }
    std::unique_ptr<TVirtualStick> stick;
};

TEST_F(ControlsTest, ButtonOneAcceleratesAndTheStickSteersOutsideItsDeadZone)
{
    stick->Button(0, true);
    Step(120);
    EXPECT_GT(Speed(), 8.0f);
    stick->Axis(0, 0.19f); // inside the dead zone: straight on
    EXPECT_NEAR(HeadingChange(30), 0.0f, 0.5f);
    stick->Axis(0, 1.0f); // right: the heading grows
    EXPECT_GT(HeadingChange(30), 10.0f);
    stick->Axis(0, -1.0f);
    EXPECT_LT(HeadingChange(60), -10.0f);
}

TEST_F(ControlsTest, TriggersOnTheZAxisAccelerateAndBrake)
{
    stick->Axis(2, -1.0f); // right trigger: Z negative, throttle positive
    Step(120);
    float fast = Speed();
    EXPECT_GT(fast, 8.0f);
    stick->Axis(2, 1.0f); // left trigger brakes
    Step(20);
    EXPECT_LT(Speed(), fast * 0.6f);
}

TEST_F(ControlsTest, ButtonTwoBrakesOverButtonOneAndButtonThreeLocksTheWheels)
{
    stick->Button(0, true);
    Step(120);
    float fast = Speed();
    stick->Button(1, true);
    Step(20);
    EXPECT_LT(Speed(), fast * 0.6f);
    stick->Button(1, false);
    stick->Button(2, true);
    StepFrame();
    for (int st : car->wStatus)
        EXPECT_EQ(st, TCar::LOCKED);
}

TEST_F(ControlsTest, KeysWinOverTheStickAndRightWinsOverLeft)
{
    keys.Set(VK_UP, true);
    Step(120);
    stick->Axis(0, -1.0f);
    keys.Set(VK_LEFT, true);
    keys.Set(VK_RIGHT, true);
    EXPECT_GT(HeadingChange(30), 10.0f);
}

} // namespace
} // namespace ravel::demo::test

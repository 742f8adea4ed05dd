// tests/platform/JoystickTest.cpp: joystick ports read through SDL's virtual joysticks.
#include "platform/Input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

using namespace ravel;

namespace
{
// A virtual device; detached when the test ends.
struct VirtualStick
{
    VirtualStick(SDL_JoystickType type, int axes, int buttons, const char* name, Uint16 vendor = 0,
                 Uint16 product = 0)
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = static_cast<Uint16>(type);
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.name = name;
        desc.vendor_id = vendor;
        desc.product_id = product;
        index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0)
        {
            id = SDL_JoystickGetDeviceInstanceID(index);
            handle = SDL_JoystickOpen(index);
        }
    }
    ~VirtualStick() { Detach(); }
    void Detach()
    {
        if (!handle)
            return;
        SDL_JoystickClose(handle);
        handle = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }
    void Axis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(handle, axis, value); }
    void Button(int button, bool down) { SDL_JoystickSetVirtualButton(handle, button, down ? 1 : 0); }
    int index = -1;
    SDL_JoystickID id = -1;
    SDL_Joystick* handle = nullptr;
};

float (*const axisReaders[6])(int) = {JoystickX, JoystickY, JoystickZ, JoystickR, JoystickU, JoystickV};

class JoystickTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        base = JoystickCount(); // devices of the machine itself come before virtual ones
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER); }
    int base = 0;
};
} // namespace

TEST_F(JoystickTest, PortsWithoutADeviceReadZero)
{
    for (int port : {base, base + 1, MAX_JOYSTICKS - 1, MAX_JOYSTICKS, -1})
    {
        SCOPED_TRACE(port);
        for (auto read : axisReaders)
            EXPECT_EQ(read(port), 0.0f);
        EXPECT_EQ(JoystickButtons(port), 0);
        for (int b = 0; b < 40; ++b)
            EXPECT_EQ(JoystickButton(b, port), 0);
    }
}

TEST_F(JoystickTest, RawJoystickAxesAreNormalisedAndButtonsFormAMask)
{
    VirtualStick stick(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 6, 40, "Ravel Flight Stick");
    ASSERT_NE(stick.handle, nullptr) << SDL_GetError();
    ASSERT_EQ(JoystickCount(), base + 1);
    for (auto read : axisReaders)
        EXPECT_EQ(read(base), 0.0f); // attached at rest

    const Sint16 raw[6] = {-32768, 32767, 0, -16384, 16384, 1};
    const float expected[6] = {-1.0f, 1.0f, 0.0f, -0.5f, 16384.0f / 32767.0f, 1.0f / 32767.0f};
    for (int a = 0; a < 6; ++a)
        stick.Axis(a, raw[a]);
    for (int a = 0; a < 6; ++a)
        EXPECT_FLOAT_EQ(axisReaders[a](base), expected[a]) << "axis " << a;

    for (int b : {0, 3, 7, 31, 35})
        stick.Button(b, true);
    EXPECT_EQ(static_cast<unsigned>(JoystickButtons(base)), (1u << 0) | (1u << 3) | (1u << 7) | (1u << 31));
    EXPECT_EQ(JoystickButton(3, base), 1);
    EXPECT_EQ(JoystickButton(35, base), 1); // beyond the mask, still readable on its own
    EXPECT_EQ(JoystickButton(1, base), 0);
    EXPECT_EQ(JoystickButton(40, base), 0);
    EXPECT_EQ(JoystickButton(-1, base), 0);

    // Read afresh on every query.
    stick.Button(3, false);
    stick.Axis(0, 0);
    EXPECT_EQ(JoystickButton(3, base), 0);
    EXPECT_EQ(JoystickX(base), 0.0f);
}

TEST_F(JoystickTest, DevicesPluggedInAndOutRenumberThePorts)
{
    VirtualStick first(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, "Ravel Stick One");
    VirtualStick second(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, "Ravel Stick Two");
    ASSERT_NE(second.handle, nullptr) << SDL_GetError();
    first.Axis(0, 32767);
    second.Axis(0, -32768);
    ASSERT_EQ(JoystickCount(), base + 2);
    EXPECT_EQ(JoystickX(base), 1.0f);
    EXPECT_EQ(JoystickX(base + 1), -1.0f);

    first.Detach();
    EXPECT_EQ(JoystickCount(), base + 1);
    EXPECT_EQ(JoystickX(base), -1.0f); // the second device moves up to the freed port
    EXPECT_EQ(JoystickX(base + 1), 0.0f);

    VirtualStick third(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 4, "Ravel Stick Three");
    third.Button(2, true);
    EXPECT_EQ(JoystickCount(), base + 2);
    EXPECT_EQ(JoystickButtons(base + 1), 1 << 2);
    EXPECT_EQ(JoystickButtons(base), 0);
}

// Axes and buttons wired like an Xbox 360 pad under Linux, whose raw order differs from the pad's.
TEST_F(JoystickTest, GameControllerReadsAsAnXboxStylePad)
{
    // SDL matches added mappings only for devices with a vendor and product id.
    VirtualStick pad(SDL_JOYSTICK_TYPE_UNKNOWN, 6, 15, "Ravel Test Pad", 0x1209, 0x0001);
    ASSERT_NE(pad.handle, nullptr) << SDL_GetError();
    pad.Axis(2, -32768); // triggers rest at the low end of their raw range
    pad.Axis(5, -32768);
    ASSERT_EQ(JoystickCount(), base + 1);

    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(pad.handle), guid, sizeof guid);
    std::string mapping = std::string(guid) +
                          ",Ravel Test Pad,a:b0,b:b1,x:b2,y:b3,leftshoulder:b4,rightshoulder:b5,back:b6,"
                          "start:b7,guide:b8,leftstick:b9,rightstick:b10,dpup:b11,dpdown:b12,dpleft:b13,"
                          "dpright:b14,leftx:a0,lefty:a1,lefttrigger:a2,rightx:a3,righty:a4,righttrigger:a5,";
    ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();

    struct Case
    {
        Sint16 raw[6]; // raw axes 0-5
        float x, y, z, r, u;
    };
    const Case cases[] = {
        {{0, 0, -32768, 0, 0, -32768}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {{-32768, 32767, 32767, 32767, -32768, -32768}, -1.0f, 1.0f, 1.0f, 1.0f, -1.0f},
        {{0, 0, -32768, 0, 0, 32767}, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f}, // right trigger: negative Z
        {{0, 0, 0, 0, 0, 0}, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},           // both half pulled
    };
    for (const Case& c : cases)
    {
        for (int a = 0; a < 6; ++a)
            pad.Axis(a, c.raw[a]);
        SCOPED_TRACE(c.raw[5]);
        EXPECT_FLOAT_EQ(JoystickX(base), c.x);
        EXPECT_FLOAT_EQ(JoystickY(base), c.y);
        EXPECT_FLOAT_EQ(JoystickZ(base), c.z);
        EXPECT_FLOAT_EQ(JoystickR(base), c.r);
        EXPECT_FLOAT_EQ(JoystickU(base), c.u);
        EXPECT_EQ(JoystickV(base), 0.0f);
    }

    struct Press
    {
        int raw;  // raw button number
        int seen; // button number the pad reports
    };
    const Press presses[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3},  {6, 4},
                             {8, 5}, {7, 6}, {4, 9}, {5, 10}, {14, 14}};
    for (const Press& p : presses)
    {
        SCOPED_TRACE(p.raw);
        pad.Button(p.raw, true);
        EXPECT_EQ(JoystickButtons(base), 1 << p.seen);
        EXPECT_EQ(JoystickButton(p.seen, base), 1);
        pad.Button(p.raw, false);
        EXPECT_EQ(JoystickButtons(base), 0);
    }
}

TEST_F(JoystickTest, ShuttingSDLDownLeavesNoStaleDevices)
{
    {
        VirtualStick stick(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 2, "Ravel Short-Lived Stick");
        ASSERT_EQ(JoystickCount(), base + 1);
        stick.handle = nullptr; // SDL_Quit closes it; the virtual device goes with it
        SDL_Quit();
    }
    EXPECT_EQ(JoystickCount(), base); // starts SDL's joystick support again by itself
    EXPECT_EQ(JoystickX(base), 0.0f);
    VirtualStick next(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 2, "Ravel Next Stick");
    next.Axis(1, 32767);
    EXPECT_EQ(JoystickCount(), base + 1);
    EXPECT_EQ(JoystickY(base), 1.0f);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
}

// platform/sdl/SDLWindowSystem.h: the window system over SDL: its event queue, keyboard, pointer,
// joysticks and game controllers, message box, and the OpenGL driver as the default renderer.
#pragma once
#include "platform/TWindowSystem.h"

namespace ravel::detail
{

/// Installed when the program starts by every program that links the SDL library. The keyboard and
/// pointer live in Events.cpp, the joysticks in Joystick.cpp, the rest in SDLWindowSystem.cpp.
class TSDLWindowSystem : public TWindowSystem
{
  public:
    TDriver2DRef DefaultDriver() override;
    void GraphicsOpened(const TGraphicsRef& graphics) override;
    void GraphicsClosed() override;
    void PumpEvents() override;
    void DiscardWindowEvents() override;
    bool DisplayLost() override;

    int KeyDown(int key) override;
    int KeyHitCount(int key) override;
    int WaitForKey() override;
    int FlushKeys() override;
    int MouseScreenX() override;
    int MouseScreenY() override;
    int MouseDown(int button) override;
    int SetMouseVisible(int flag) override;
    int JoystickCount() override;
    float JoystickAxis(int axis, int port) override;
    int JoystickButton(int button, int port) override;
    int JoystickButtons(int port) override;
    int AppTerminate() override;

    int ShowError(const std::string& title, const std::string& text) override;
};

} // namespace ravel::detail

// platform/Input.cpp: the input queries, answered by the window system in use.
#include "platform/Input.h"

#include "platform/TWindowSystem.h"

namespace ravel
{

int KeyDown(int key)
{
    return GetWindowSystem()->KeyDown(key);
}

int KeyHitCount(int key)
{
    return GetWindowSystem()->KeyHitCount(key);
}

int WaitForKey()
{
    return GetWindowSystem()->WaitForKey();
}

int FlushKeys()
{
    return GetWindowSystem()->FlushKeys();
}

int MouseScreenX()
{
    return GetWindowSystem()->MouseScreenX();
}

int MouseScreenY()
{
    return GetWindowSystem()->MouseScreenY();
}

int MouseDown(int button)
{
    return GetWindowSystem()->MouseDown(button);
}

int SetMouseVisible(int flag)
{
    return GetWindowSystem()->SetMouseVisible(flag);
}

int JoystickCount()
{
    return GetWindowSystem()->JoystickCount();
}

float JoystickX(int port)
{
    return GetWindowSystem()->JoystickAxis(0, port);
}

float JoystickY(int port)
{
    return GetWindowSystem()->JoystickAxis(1, port);
}

float JoystickZ(int port)
{
    return GetWindowSystem()->JoystickAxis(2, port);
}

float JoystickR(int port)
{
    return GetWindowSystem()->JoystickAxis(3, port);
}

float JoystickU(int port)
{
    return GetWindowSystem()->JoystickAxis(4, port);
}

float JoystickV(int port)
{
    return GetWindowSystem()->JoystickAxis(5, port);
}

int JoystickButton(int button, int port)
{
    return GetWindowSystem()->JoystickButton(button, port);
}

int JoystickButtons(int port)
{
    return GetWindowSystem()->JoystickButtons(port);
}

int AppTerminate()
{
    return GetWindowSystem()->AppTerminate();
}

} // namespace ravel

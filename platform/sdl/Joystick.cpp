// platform/sdl/Joystick.cpp: joystick ports over SDL's joystick and game-controller devices.
#include "platform/Input.h"
#include "platform/sdl/Events.h"
#include "platform/sdl/SDLWindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace ravel
{

namespace
{
constexpr int MASK_BUTTONS = 32;

struct Device
{
    SDL_JoystickID id = -1;
    SDL_Joystick* joystick = nullptr;  // always set; owned by pad when pad is set
    SDL_GameController* pad = nullptr; // set when SDL knows a controller mapping for the device
};

std::vector<Device> devices; // in port order, at most MAX_JOYSTICKS

void Close(Device& d)
{
    if (d.pad)
        SDL_GameControllerClose(d.pad);
    else if (d.joystick)
        SDL_JoystickClose(d.joystick);
    d = Device{};
}

// SDL closes every device when its joystick subsystem is shut down (SDL_Quit); the handles kept here
// are then stale and must not be touched.
bool StillOpen(const Device& d)
{
    if (d.pad)
        return SDL_GameControllerFromInstanceID(d.id) == d.pad;
    return SDL_JoystickFromInstanceID(d.id) == d.joystick;
}

// Opens the device at the index, as a controller when SDL has a mapping for it.
bool Open(int index, Device& d)
{
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(index))
    {
        if (SDL_GameController* pad = SDL_GameControllerOpen(index))
        {
            d.pad = pad;
            d.joystick = SDL_GameControllerGetJoystick(pad);
        }
    }
    if (!d.joystick)
        d.joystick = SDL_JoystickOpen(index);
    if (!d.joystick)
        return false;
    d.id = SDL_JoystickInstanceID(d.joystick);
    return true;
}

// Brings the port list in line with the devices attached now: ports follow SDL's device order and
// count only devices that open; devices gone are closed.
void Refresh()
{
    detail::PumpEvents();
    if (!SDL_WasInit(SDL_INIT_JOYSTICK))
    {
        devices.clear(); // SDL closed them as it shut down
        return;
    }
    SDL_JoystickUpdate();
    std::vector<Device> ports;
    int count = SDL_NumJoysticks();
    for (int index = 0; index < count && static_cast<int>(ports.size()) < MAX_JOYSTICKS; ++index)
    {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        auto it = std::find_if(devices.begin(), devices.end(),
                               [id](const Device& d) { return d.joystick && d.id == id; });
        Device d;
        if (it != devices.end() && !StillOpen(*it))
        {
            *it = Device{}; // SDL was shut down meanwhile and closed it: nothing left to close
            it = devices.end();
        }
        if (it != devices.end())
        {
            d = *it;
            *it = Device{}; // moved to the new list
            // A mapping added while the device was attached turns it into a controller.
            if (!d.pad && SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(index))
            {
                if (SDL_GameController* pad = SDL_GameControllerOpen(index))
                {
                    SDL_JoystickClose(d.joystick); // the controller holds its own reference
                    d.pad = pad;
                    d.joystick = SDL_GameControllerGetJoystick(pad);
                }
            }
        }
        else if (!Open(index, d))
        {
            continue;
        }
        if (!SDL_JoystickGetAttached(d.joystick))
        {
            Close(d);
            continue;
        }
        ports.push_back(d);
    }
    for (Device& d : devices)
        if (d.joystick && StillOpen(d))
            Close(d);
    devices = std::move(ports);
}

const Device* Port(int port)
{
    Refresh();
    if (port < 0 || port >= static_cast<int>(devices.size()))
        return nullptr;
    return &devices[static_cast<std::size_t>(port)];
}

// SDL reads -32768..32767 with 0 at rest; each half is scaled on its own so that both ends reach 1.
float Normalise(Sint16 raw)
{
    return raw < 0 ? static_cast<float>(raw) / 32768.0f : static_cast<float>(raw) / 32767.0f;
}

float PadAxis(SDL_GameController* pad, SDL_GameControllerAxis axis)
{
    return Normalise(SDL_GameControllerGetAxis(pad, axis));
}

float Axis(int port, int axis)
{
    const Device* d = Port(port);
    if (!d)
        return 0.0f;
    if (d->pad)
    {
        switch (axis)
        {
        case 0:
            return PadAxis(d->pad, SDL_CONTROLLER_AXIS_LEFTX);
        case 1:
            return PadAxis(d->pad, SDL_CONTROLLER_AXIS_LEFTY);
        case 2: // triggers rest at 0 and read 0..1; the right one pulls Z negative
            return PadAxis(d->pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT) -
                   PadAxis(d->pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
        case 3:
            return PadAxis(d->pad, SDL_CONTROLLER_AXIS_RIGHTX);
        case 4:
            return PadAxis(d->pad, SDL_CONTROLLER_AXIS_RIGHTY);
        default:
            return 0.0f;
        }
    }
    if (axis >= SDL_JoystickNumAxes(d->joystick))
        return 0.0f;
    return Normalise(SDL_JoystickGetAxis(d->joystick, axis));
}

int Held(const Device& d, int button)
{
    if (d.pad)
    {
        if (button >= SDL_CONTROLLER_BUTTON_MAX)
            return 0;
        return SDL_GameControllerGetButton(d.pad, static_cast<SDL_GameControllerButton>(button)) ? 1 : 0;
    }
    if (button >= SDL_JoystickNumButtons(d.joystick))
        return 0;
    return SDL_JoystickGetButton(d.joystick, button) ? 1 : 0;
}
} // namespace

int detail::TSDLWindowSystem::JoystickCount()
{
    Refresh();
    return static_cast<int>(devices.size());
}

float detail::TSDLWindowSystem::JoystickAxis(int axis, int port)
{
    return Axis(port, axis);
}

int detail::TSDLWindowSystem::JoystickButton(int button, int port)
{
    const Device* d = Port(port);
    if (!d || button < 0)
        return 0;
    return Held(*d, button);
}

int detail::TSDLWindowSystem::JoystickButtons(int port)
{
    const Device* d = Port(port);
    if (!d)
        return 0;
    unsigned mask = 0;
    for (int b = 0; b < MASK_BUTTONS; ++b)
        if (Held(*d, b))
            mask |= 1u << b;
    return static_cast<int>(mask);
}

} // namespace ravel

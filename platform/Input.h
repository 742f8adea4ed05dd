// platform/Input.h: polled keyboard, pointer and joystick input, and the window's close request.
#pragma once
#include "platform/KeyCodes.h"

namespace ravel
{

// Keyboard. Key codes are Windows virtual-key codes 1-255 (platform/KeyCodes.h); other codes read 0.
// Every query first processes the window's pending events. Keys are tracked while graphics are open.

/// 1 while the key is held, else 0.
int KeyDown(int key);
/// Presses of the key since the previous call for that key or since the states were cleared; resets
/// the count to 0. Auto-repeat does not count.
int KeyHitCount(int key);
/// Clears every key, then waits until a key is pressed and returns the lowest code pressed (its count
/// reset); 0 at once when no window can deliver keys, and 0 when the window is asked to close.
int WaitForKey();
/// Processes pending events, then clears every key's held flag and hit count.
int FlushKeys();

// Pointer.

///@{
/// Pointer position in pixels from the window's top-left corner, as the window last reported it (0
/// before any report).
int MouseScreenX();
int MouseScreenY();
///@}
/// 1 while pointer button 1 (left), 2 (right) or 3 (middle) is held, else 0.
int MouseDown(int button);
/// 0 hides the pointer over the window, anything else shows it; kept for graphics opened later.
int SetMouseVisible(int flag);

// Joystick. Ports 0-15 number the attached devices in the system's order; every query reads the device
// afresh and picks up devices plugged in or out. A port with no device reads 0 everywhere. A game
// controller reads as a pad: X, Y left stick; Z left trigger minus right trigger; R, U right stick; V 0;
// buttons 0 A, 1 B, 2 X, 3 Y, 4 Back, 5 Guide, 6 Start, 7-8 stick clicks, 9-10 shoulders, 11-14 pad.

/// Number of joystick ports.
inline constexpr int MAX_JOYSTICKS = 16;

/// Number of ports with a device, 0-16.
int JoystickCount();
///@{
/// Axes of the device on the port, -1.0 to 1.0, 0 when centred; 0 for an axis the device lacks.
float JoystickX(int port = 0);
float JoystickY(int port = 0);
float JoystickZ(int port = 0);
float JoystickR(int port = 0);
float JoystickU(int port = 0);
float JoystickV(int port = 0);
///@}
/// 1 while button number `button` (from 0) of the device on the port is held, else 0.
int JoystickButton(int button, int port = 0);
/// Held buttons 0-31 of the device on the port as a bit mask (bit b for button b).
int JoystickButtons(int port = 0);

// System.

/// Processes pending events; 1 once the user has asked to close the window (or quit the program),
/// and from then on; else 0.
int AppTerminate();

} // namespace ravel

// demo/Demo.h: the car demo: its globals, car, smoke puffs, overlay, start-up, frame and shutdown.
#pragma once
#include "physics/TAdvBody.h"
#include "physics/TZone.h"
#include "platform/TDriver2D.h"
#include "platform/TImage.h"
#include "platform/TList.h"

#include <memory>
#include <string>

namespace ravel::demo
{

/// The car: a soft body whose four wheel masses get their velocities rewritten once per frame.
class TCar
{
  public:
    static constexpr int TRACTION = 0;
    static constexpr int SKID = 1;
    static constexpr int SPIN = 2;
    static constexpr int LOCKED = 3;

    /// Loads the body from the media file, activates it and places it on the start line facing -x.
    /// `chassis` stays null when the file cannot be loaded.
    TCar();
    virtual ~TCar() = default;
    /// One control step: reads the keys and the joystick and sets the wheels' velocities. Returns 0.
    virtual int Update();
    /// Draws the body's rigs in white. Returns 0.
    virtual int Draw();

    TAdvBodyRef chassis;
    int wStatus[4] = {0, 0, 0, 0};
    float wGrip[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float sArc = 10.0f; ///< degrees of steering each way
    int ePos = 0;
    int drive = 0;      ///< 0 rear, 1 all four, 2 front wheels driven
    float drag = 0.98f; ///< kept of a rolling wheel's lengthwise speed per update
    int con = 0;        ///< joystick port
};

/// One puff of tyre smoke, in world space; it grows and fades over 51 frames.
class TSmoke
{
  public:
    virtual ~TSmoke() = default;
    /// Adds a puff at the world point. Returns 0.
    static int Create(float x, float y);
    /// Draws every puff, oldest first, ages them and drops the faded ones. Returns 0.
    static int Do();

    float x = 0.0f;
    float y = 0.0f;
    float rot = 0.0f;
    float scl = 0.25f;
    float alpha = 0.5f;
    TLink link;
};
using TSmokeRef = std::shared_ptr<TSmoke>;

// The demo's globals.
extern float zoomFactor;
extern TListRef<TSmokeRef> smokeList;
extern std::unique_ptr<TCar> car;
extern TImageRef track1, track2, smokeImage, logo;
extern int rotateView;
extern int showInfo;

/// The overlay line for a wheel in a state; empty for a state outside 0 to 3.
std::string WheelLine(int wheel, int state);
/// The speed line for a speed in world units per step, such as "Speed: 75kph, 47mph".
std::string SpeedLine(float speed);
/// Draws the information overlay with the current colour and origin.
void DrawInfo();

/// The grass zones' response: lowers the grip of the car's wheel that touched, nothing else.
int ColGrass(const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth);
/// Loads the three grass zones, scales them to the world and installs ColGrass. 1 when all loaded.
int LoadGrassZones();

/// Shows the menu in a small window and opens the chosen mode full screen; returns the zoom factor,
/// or 0 when the window was closed, Escape was pressed or no mode could be opened. A display without
/// the mode gets the desktop's full screen with the picture scaled to fit (GRAPHICS_DESKTOPFIT), and
/// a line on stderr saying so.
float SelectGraphicsMode();
/// The drivers behind the menu's two renderers; tests may replace them before SelectGraphicsMode.
extern TDriver2DRef (*openGLDriver)();
extern TDriver2DRef (*secondDriver)();

/// Where the media live: "media" when the working directory has it, else the folder of that name
/// beside the executable; "media" when neither has it.
std::string MediaDir();
/// The path of one media file, such as MediaPath("car4.rvb").
std::string MediaPath(const std::string& name);
/// The first of the demo's media files that cannot be read, or empty when all can.
std::string MissingMedia();
/// Reads every media file as the start-up will (PNG images decoded, zones and the car body parsed,
/// the car's masses there) and says what is wrong with the first that fails, such as "media file
/// media/grass2.rvz is damaged: not a zone file that can be read"; empty when all are sound. Leaves
/// the library's automatic collision groups and the mask colour as it found them.
std::string CheckMedia();
/// Writes the line to stderr and, on a real display, shows it in a message box until it is closed.
void ReportStartupError(const std::string& line);
/// Why the last StartWorld failed: the media file it could not load.
extern std::string mediaError;

/// Start-up after the graphics are open: smoke list, blend, world, car, grass, images. `zoom` is the
/// zoom factor of the open mode. Returns 1, or 0 when a media file could not be loaded (mediaError
/// names it).
int StartWorld(float zoom);
/// The first half of a frame: the car's update, the Enter and F1 toggles, the world step and the
/// camera. Needs no drawing.
void StepFrame();
/// The second half: clear, track, car, smoke, overlay and logo, then Flip(-1).
void DrawFrame();
/// One frame of the loop, both halves. Returns 1 when Escape was pressed during the frame (or the
/// window was asked to close), else 0.
int Frame();
/// Frees the world and closes the graphics.
void Shutdown();

/// The whole program: menu, start-up, loop, shutdown. Returns the process exit status.
int RunDemo(const char* argv0);

} // namespace ravel::demo

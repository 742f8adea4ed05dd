// demo/Demo.cpp: the demo's globals, smoke, overlay, grass, menu, start-up, frame and shutdown.
#include "demo/Demo.h"

#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "platform/FileSystem.h"
#include "platform/Graphics2D.h"
#include "platform/Input.h"
#include "platform/Random.h"
#include "platform/TGLDriver2D.h"
#include "platform/TImage.h"
#include "platform/TSDLDriver2D.h"
#include "platform/TWindowSystem.h"

#include <cstdio>
#include <fstream>

namespace ravel::demo
{

float zoomFactor = 1.0f;
TListRef<TSmokeRef> smokeList = std::make_shared<TList<TSmokeRef>>();
std::unique_ptr<TCar> car;
TImageRef track1, track2, smokeImage, logo;
int rotateView = 0;
int showInfo = 1;
std::string mediaError;
TDriver2DRef (*openGLDriver)() = &GLDriver2D;
TDriver2DRef (*secondDriver)() = &SDLDriver2D;

// --- Smoke ---------------------------------------------------------------------------------------

int TSmoke::Create(float x, float y)
{
    auto puff = std::make_shared<TSmoke>();
    puff->x = x;
    puff->y = y;
    puff->rot = RandomRange(-180, 180);
    puff->link = smokeList->AddLast(puff);
    return 0;
}

int TSmoke::Do()
{
    SetColor(255, 255, 255);
    for (const TSmokeRef& puff : *smokeList)
    {
        if (!puff)
            continue;
        SetRotation(puff->rot);
        SetAlpha(puff->alpha);
        SetScale(puff->scl, puff->scl);
        TPhysics::DrawImage(smokeImage, puff->x, puff->y, 0);
        puff->scl = puff->scl + 0.01f;
        puff->alpha = puff->alpha - 0.01f;
        if (puff->alpha < 0.0f)
        {
            TLink link = puff->link;
            puff->link = TLink();
            link.Remove(); // the list held the last reference: the puff goes here
        }
    }
    SetRotation(0);
    SetAlpha(1);
    SetScale(1, 1);
    return 0;
}

// --- Overlay -------------------------------------------------------------------------------------

std::string WheelLine(int wheel, int state)
{
    static const char* const kNames[4] = {
        "  Front left:  ", "  Front Right: ", "  Rear left:   ", "  Rear Right:  "};
    static const char* const kStates[4] = {"TRACTION", "SKID", "SPIN", "LOCKED"};
    if (wheel < 0 || wheel > 3 || state < 0 || state > 3)
        return {};
    return std::string(kNames[wheel]) + kStates[state];
}

std::string SpeedLine(float speed)
{
    int kph = static_cast<int>(speed * 7.59375f);
    int mph = static_cast<int>(speed * 4.74609375f);
    return "Speed: " + std::to_string(kph) + "kph, " + std::to_string(mph) + "mph";
}

void DrawInfo()
{
    DrawText("Toggle view: 'Enter'", 0, 75);
    DrawText("Quit: 'Escape'", 0, 90);
    DrawText("Wheel status", 0, 135);
    for (int i = 0; i < 4; ++i)
    {
        std::string line = car ? WheelLine(i, car->wStatus[i]) : std::string();
        if (!line.empty())
            DrawText(line, 0, static_cast<float>(150 + i * 15));
    }
    float speed = car && car->chassis ? car->chassis->MassGetVelocity(0) : 0.0f;
    DrawText(SpeedLine(speed), 0, 225);
    static const char* const kHelp[] = {
        "Controls: Xbox360 pad (Recommended)",
        "  Accelerate: Right trigger",
        "  Brake: Left trigger",
        "  Steer: Left analogue stick",
        "  Hand brake: 'X' button",
        nullptr,
        "Controls: Keys",
        "  Accelerate: Up arrow",
        "  Brake: Down arrow",
        "  Steer: Left/right arrow",
        "  Hand brake: 'Spacebar'",
        nullptr,
        "Controls: Joypad",
        "  Accelerate: Button 1",
        "  Brake: Button 2",
        "  Steer: Left analogue stick",
        "  Hand brake: Button 3",
    };
    int y = 270;
    for (const char* line : kHelp)
    {
        if (line)
            DrawText(line, 0, static_cast<float>(y));
        y += 15;
    }
}

// --- Grass ---------------------------------------------------------------------------------------

int ColGrass(const TZoneRef&, const TMassRef& mass, float, float, float)
{
    if (!mass || !car)
        return 0;
    int i = mass->GetIndex();
    if (i >= 3 && i <= 6)
        car->wGrip[i - 3] = 0.45f;
    return 0;
}

int LoadGrassZones()
{
    for (const char* name : {"grass1.rvz", "grass2.rvz", "grass3.rvz"})
    {
        TZoneRef zone = TZone::Load(MediaPath(name));
        if (!zone)
        {
            mediaError = MediaPath(name);
            return 0;
        }
        zone->SetScale(5, 5);
        zone->OverrideCollision(&ColGrass);
    }
    return 1;
}

// --- Media ---------------------------------------------------------------------------------------

namespace
{
const char* const kMediaFiles[] = {"car4.rvb",    "grass1.rvz",  "grass2.rvz", "grass3.rvz",
                                   "track01.png", "track02.png", "smoke.png",  "ravellogo.png"};
}

std::string MediaDir()
{
    if (FileType("media") == FILETYPE_DIR)
        return "media";
    std::string base = ProgramDir();
    if (!base.empty() && FileType(base + "media") == FILETYPE_DIR)
        return base + "media";
    return "media";
}

std::string MediaPath(const std::string& name)
{
    return MediaDir() + "/" + name;
}

std::string MissingMedia()
{
    for (const char* name : kMediaFiles)
    {
        std::string path = MediaPath(name);
        std::ifstream in(path, std::ios::binary);
        if (FileType(path) != FILETYPE_FILE || !in || in.peek() == std::ifstream::traits_type::eof())
            return path;
    }
    return {};
}

namespace
{
// Why the media file, which is there, cannot serve the demo; empty when it can.
std::string MediaFault(const std::string& name, const std::string& path)
{
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        return LoadPixmapPNG(path) ? std::string() : "not a PNG image that can be decoded";
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rvz") == 0)
    {
        TZoneRef zone = TZone::Load(path);
        if (!zone)
            return "not a zone file that can be read";
        zone->Free();
        return {};
    }
    // The car model drives masses 0 to 6 and turns the view with constraint 0.
    TAdvBodyRef body = TAdvBody::Load(path, 0);
    if (!body)
        return "not a body file that can be read";
    for (int m = 0; m <= 6; ++m)
        if (!body->MassExists(m))
            return "a body file without the car's seven masses";
    if (!body->ConExists(0))
        return "a body file without the car's constraints";
    return {};
}
} // namespace

std::string CheckMedia()
{
    std::string missing = MissingMedia();
    if (!missing.empty())
        return "cannot read media file " + missing + " (run from the folder that holds media/)";
    // Loading takes automatic collision groups and may set the mask colour: both are put back, so
    // that the start-up afterwards makes exactly the objects it would have made without the check.
    int groups = nextAutoColGroup;
    int mr = 0, mg = 0, mb = 0;
    GetMaskColor(mr, mg, mb);
    std::string problem;
    for (const char* name : kMediaFiles)
    {
        std::string path = MediaPath(name);
        std::string fault = MediaFault(name, path);
        if (!fault.empty())
        {
            problem = "media file " + path + " is damaged: " + fault;
            break;
        }
    }
    nextAutoColGroup = groups;
    SetMaskColor(mr, mg, mb);
    return problem;
}

void ReportStartupError(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
    // The same words in a box, for a player who started the program without a terminal.
    ShowErrorBox("Ravel", line);
}

// --- Menu ----------------------------------------------------------------------------------------

float SelectGraphicsMode()
{
    SetGraphicsDriver(openGLDriver(), GRAPHICS_BACKBUFFER);
    if (!OpenGraphics(400, 75, 0, 60, 0))
    {
        // Without OpenGL the menu still appears on the other renderer.
        SetGraphicsDriver(secondDriver(), GRAPHICS_BACKBUFFER);
        if (!OpenGraphics(400, 75, 0, 60, 0))
            return 0.0f;
    }
    for (;;)
    {
        Cls();
        DrawText("Press 1,2,3, or 4", 0, 0);
        DrawText("  1: OpenGL  800x600", 0, 15);
        DrawText("  2: DirectX 800x600", 0, 30);
        DrawText("  3: OpenGL  1024x768", 0, 45);
        DrawText("  4: DirectX 1024x768", 0, 60);
        Flip(-1);
        int key = WaitForKey();
        if (key == 0 || key == VK_ESCAPE)
        {
            CloseGraphics();
            return 0.0f; // the window was closed, or the player left
        }
        if (key < VK_1 || key > VK_4)
            continue;
        int choice = key - VK_1;
        bool gl = choice % 2 == 0;
        int width = choice < 2 ? 800 : 1024;
        int height = choice < 2 ? 600 : 768;
        CloseGraphics();
        SetGraphicsDriver(gl ? openGLDriver() : secondDriver(), GRAPHICS_BACKBUFFER);
        if (!OpenGraphics(width, height, 32, 60, 0))
        {
            // A display without the mode still shows the game full screen: the same picture, scaled
            // to the desktop's own size.
            if (!OpenGraphics(width, height, 32, 60, GRAPHICS_DESKTOPFIT))
                return 0.0f;
            std::fprintf(
                stderr,
                "demo: the display has no %d x %d mode; showing the game at %d x %d scaled to fit the "
                "screen\n",
                width, height, width, height);
        }
        return width == 800 ? 0.78125f : 1.0f;
    }
}

// --- Start-up, frame, shutdown -------------------------------------------------------------------

int StartWorld(float zoom)
{
    mediaError.clear();
    smokeList = std::make_shared<TList<TSmokeRef>>();
    zoomFactor = zoom;
    rotateView = 0;
    showInfo = 1;
    SetMouseVisible(0);
    SetBlend(ALPHABLEND);
    TPhysics::Create(10240, 5120, 0, 0, 1);
    car = std::make_unique<TCar>();
    if (!car->chassis)
    {
        mediaError = MediaPath("car4.rvb");
        return 0;
    }
    if (!LoadGrassZones())
        return 0;
    // Only the images loaded after the track get their handle at their centre.
    SetAutoMidHandle(0);
    struct TLoad
    {
        TImageRef* image;
        const char* name;
        int flags;
    };
    const TLoad loads[] = {{&track1, "track01.png", 0},
                           {&track2, "track02.png", 0},
                           {&smokeImage, "smoke.png", -1},
                           {&logo, "ravellogo.png", 6}};
    for (const TLoad& load : loads)
    {
        if (load.image == &smokeImage)
            SetAutoMidHandle(1);
        *load.image = LoadImage(MediaPath(load.name), load.flags);
        if (!*load.image)
        {
            mediaError = MediaPath(load.name);
            return 0;
        }
    }
    return 1;
}

void StepFrame()
{
    car->Update();
    if (KeyHitCount(VK_RETURN))
        rotateView = 1 - rotateView;
    if (KeyHitCount(VK_F1))
        showInfo = 1 - showInfo;
    TPhysics::Update();
    TAdvBody& body = *car->chassis;
    TPhysics::SetDrawCoords(body.GetX(), body.GetY());
    float speed = body.MassGetVelocity(0);
    TPhysics::SetDrawZoom((0.75f - speed / 70.0f) * zoomFactor);
    if (rotateView == 1)
        TPhysics::SetDrawRotation(-90.0f - body.ConGetAngle(0));
    else
        TPhysics::SetDrawRotation(0);
}

void DrawFrame()
{
    Cls();
    SetScale(5, 5);
    TPhysics::DrawImage(track1, 0, 0, 0);
    TPhysics::DrawImage(track2, 5120, 0, 0);
    SetScale(1, 1);
    car->Draw();
    TSmoke::Do();

    // The texts twice: a black shadow two pixels down and right, then white.
    SetOrigin(2, 2);
    SetColor(0, 0, 0);
    DrawText("Verdant Challenge by Orin Hale", 0, 0);
    DrawText("Toggle info: 'F1'", 0, 45);
    if (showInfo)
        DrawInfo();
    SetOrigin(0, 0);
    SetColor(255, 255, 255);
    DrawText("Verdant Challenge by Orin Hale", 0, 0);
    DrawText("Toggle info: 'F1'", 0, 45);
    if (showInfo)
        DrawInfo();

    SetColor(255, 255, 255);
    SetScale(0.5f, 0.5f);
    DrawImage(logo, static_cast<float>(GraphicsWidth() - 45), static_cast<float>(GraphicsHeight() - 35), 0);
    SetScale(1, 1);
    Flip(-1);
}

int Frame()
{
    StepFrame();
    DrawFrame();
    return KeyHitCount(VK_ESCAPE) != 0 || AppTerminate() ? 1 : 0;
}

void Shutdown()
{
    TPhysics::Free();
    CloseGraphics();
}

int RunDemo(const char*)
{
    // Every media file is read and checked while the desktop is still as the player left it.
    std::string problem = CheckMedia();
    if (!problem.empty())
    {
        ReportStartupError("demo: " + problem);
        return 1;
    }
    smokeList = std::make_shared<TList<TSmokeRef>>();
    float zoom = SelectGraphicsMode();
    if (zoom == 0.0f)
    {
        std::string why = GraphicsError();
        if (why.empty())
            return 0; // the menu was closed or left: nothing chosen, nothing wrong
        ReportStartupError("demo: cannot open the graphics mode: " + why);
        return 1;
    }
    if (!StartWorld(zoom))
    {
        Shutdown();
        ReportStartupError("demo: cannot read media file " + mediaError);
        return 1;
    }
    while (!Frame())
    {
    }
    Shutdown();
    return 0;
}

} // namespace ravel::demo

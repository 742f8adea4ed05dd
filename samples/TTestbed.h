// samples/TTestbed.h: the samples without their window: the running scene, the camera, the mouse
// tools, the keys, the step timing and the panel, fed with what the user did each frame.
#pragma once
#include "samples/TScene.h"

#include <string>
#include <vector>

namespace ravel::samples
{

/// A pointer button going down or up, and where, in window pixels.
struct TPress
{
    int button = 1; ///< 1 left, 2 right, 3 middle
    bool down = true;
    int x = 0, y = 0;
};

/// What the user did since the last frame.
struct TInput
{
    int mouseX = 0, mouseY = 0;     ///< the pointer now, window pixels
    std::vector<TPress> presses;    ///< button presses and releases, in order
    float wheel = 0.0f;             ///< wheel notches, positive away from the user (zooms in)
    std::vector<int> keys;          ///< keys pressed, virtual-key codes, in order
    std::vector<int> held;          ///< keys held now
    std::vector<std::string> drops; ///< files dropped on the window
};

/// Step times in milliseconds: the mean and the worst of the last 60.
class TStepTimes
{
  public:
    void Add(float ms);
    float Mean() const;
    float Worst() const;
    /// How many of the 60 slots hold a time.
    int Count() const { return count_; }
    void Clear() { count_ = next_ = 0; }

  private:
    float ms_[60] = {};
    int count_ = 0;
    int next_ = 0;
};

/// One line of the panel: its text and colour, and what a click on it does (-1: nothing).
struct TPanelLine
{
    std::string text;
    int red = 220, green = 220, blue = 220;
    int scene = -1;  ///< a click opens this scene of the list
    int choice = -1; ///< a click chooses this entry of the scene's list
};

/// The samples' state and behaviour between the window and the scenes. It draws through the current
/// graphics and steps the current world; it never presents a frame.
class TTestbed
{
  public:
    /// Width of the panel at the left of the window, pixels.
    static constexpr int PANEL_WIDTH = 330;

    /// A testbed with no scene open. While the contacts are shown (show.contacts) it has an event hook
    /// installed that records every contact report.
    TTestbed();
    /// Closes the scene, frees the world and removes the hook.
    ~TTestbed();
    TTestbed(const TTestbed&) = delete;
    TTestbed& operator=(const TTestbed&) = delete;

    /// Opens scene `index` of the list afresh: at its own size, with its own settings. Out-of-range
    /// indices wrap round the list.
    void Open(int index);
    /// Builds the running scene again with its size and path, as R does.
    void Restart();
    /// Shows the file in the viewer (a folder: lists its files).
    void Drop(const std::string& path);
    /// One frame: the input, then a step unless paused, then the picture (not presented).
    void Frame(const TInput& input);
    /// What the input asks for: keys, clicks, drags, the wheel, dropped files.
    void HandleInput(const TInput& input);
    /// One step of the scene with the dragged mass pulled to the pointer, timed; records the events.
    void StepScene();
    /// The whole picture: the scene through the camera, the contact dots, the drag and the panel.
    void Draw();
    /// Fits the scene's frame into the part of the window the panel leaves.
    void FitView();

    /// The running scene (null before the first Open) and its index in the list.
    TScene* Scene() const { return scene_.get(); }
    int Index() const { return index_; }
    /// "Ravel samples: " and the scene's name.
    std::string Title() const;
    /// The panel's lines as Draw shows them.
    std::vector<TPanelLine> PanelLines() const;
    /// The world point under a window pixel, through the camera.
    void ToWorld(float sx, float sy, float& wx, float& wy) const;

    bool paused = false;
    bool following = false;
    bool panel = true;           ///< the panel is shown
    bool quit = false;           ///< Escape was pressed
    bool switchRenderer = false; ///< F2 was pressed: the window should change renderer
    TShow show;                  ///< camera, last step's contacts, display toggles
    TStepTimes times;
    long steps = 0;                         ///< steps since the scene opened
    TMassRef dragged;                       ///< the mass held by the left button, frozen while held
    float pointerX = 0.0f, pointerY = 0.0f; ///< the pointer, window pixels

  private:
    void Close();
    void Build(TSceneRef scene);
    void Key(int key, bool shift);
    void Press(const TPress& press);
    void CycleGravity();
    void AreaCentre(float& x, float& y) const;
    void LetGo();
    void Hook(bool on);

    TSceneRef scene_;
    int index_ = -1;
    int gravityState_ = 0;
    float baseGravityX_ = 0.0f, baseGravityY_ = 0.0f;
    bool draggedWasFrozen_ = false;
    float dragX_ = 0.0f, dragY_ = 0.0f; ///< how far the held mass went in the last step
    bool hooked_ = false;
    bool panning_ = false;
    float panX_ = 0.0f, panY_ = 0.0f;
};

/// The keys the testbed and its scenes answer, for a window that polls them.
const std::vector<int>& TestbedKeys();
/// The keys whose being held the scenes read.
const std::vector<int>& HeldKeys();

} // namespace ravel::samples

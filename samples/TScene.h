// samples/TScene.h: one scene of the samples: it builds a world, steps it, draws it and says what to
// look at; the testbed around it owns the window, the camera, the mouse tools and the panel.
#pragma once
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ravel::samples
{

/// One contact as the library reported it: its kind (TColEvent::MASS_MASS, MASS_ZONE, MASS_BOUNDS),
/// where, and how deep in world units.
struct TContact
{
    int kind = 0;
    float x = 0.0f, y = 0.0f;
    float force = 0.0f;
    const TObject* other = nullptr; ///< what the mass met (another mass, a zone, the world); not owned
};

/// One figure a scene shows in the panel: what it measures, its value, and how the panel writes it
/// after the name (the value with its unit, or a word).
struct TFigure
{
    std::string name;
    float value = 0.0f;
    std::string text;
};

/// A rectangle of the world, for the part of it a scene wants in view.
struct TRect
{
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
};

/// The camera: the world point at the screen's centre and the zoom in pixels per world unit.
struct TView
{
    float cx = 0.0f, cy = 0.0f;
    float zoom = 1.0f;
    /// Makes this the current world's camera.
    void Apply() const;
};

/// What the testbed hands a scene to draw: the camera, last step's contacts and the display toggles.
struct TShow
{
    TView view;
    std::vector<TContact> events;  ///< the queue after the step: one per pair that touched
    std::vector<TContact> reports; ///< every report the hooks saw, the repeats of later passes too
    bool masses = true;            ///< draw the masses
    bool constraints = true;       ///< draw the sticks
    bool quadTrees = false;        ///< draw the zones' quadtree cells
    bool contacts = false;         ///< draw the contact dots
};

/// A scene: a small world with something to show. Build makes the world (TPhysics::Create) and its
/// contents; the scene object holds what it made, and the testbed frees the world after the scene.
class TScene
{
  public:
    virtual ~TScene() = default;
    /// The name in the list and the window title, such as "Cloth".
    virtual std::string Name() const = 0;
    /// One line on what to look at.
    virtual std::string About() const = 0;
    /// Makes the world and everything in it.
    virtual void Build() = 0;
    /// One step: whatever the scene does around TPhysics::Update, which it calls once.
    virtual void Step();
    /// Draws the scene through the camera, which the testbed has already applied to the current world.
    virtual void Draw(const TShow& show);
    /// The queue's events after the step that just ran, and every report the hooks saw during it, for
    /// a scene that counts them.
    virtual void Contacts(const std::vector<TContact>& events, const std::vector<TContact>& reports);
    /// The figures for the panel: what the scene must show, in numbers.
    virtual void Figures(std::vector<TFigure>& figures) const;
    /// A key the scene uses itself (a virtual-key code); true when it took the key.
    virtual bool Key(int key);
    /// The part of the world to fit in view when the scene opens: by default the world's bounds.
    virtual TRect Frame() const;
    /// A point the camera follows while following is on; false when the scene has none.
    virtual bool Follow(float& x, float& y) const;
    /// Runs the function once with each world of the scene current in turn, the scene's main world
    /// current again afterwards; settings changed from the panel reach every world this way.
    virtual void ForEachWorld(const std::function<void()>& fn);

    /// A list the scene offers in the panel (the viewer's files): its heading, its entries and the
    /// marked entry (-1 for none); empty for most scenes.
    virtual std::string ChoiceTitle() const;
    virtual std::vector<std::string> Choices() const;
    virtual int Chosen() const;
    /// An entry of that list was clicked.
    virtual void Choose(int index);

    /// Whether the key (a virtual-key code) is held during this frame.
    bool Held(int key) const;
    /// The keys held during this frame, set by the testbed before it steps the scene.
    std::vector<int> heldKeys;

    /// The scene's size (masses, the cloth's side, blobs) where it has one, else 0; the testbed halves
    /// and doubles it within [minSize, maxSize] and rebuilds.
    int size = 0;
    int minSize = 0; ///< smallest size
    int maxSize = 0; ///< largest size
    /// A file or folder the scene shows (the viewer's), kept across a restart.
    std::string path;
    /// Set by the scene when it wants to be made again, with its size and path, before the next frame.
    bool restart = false;
    ///@{
    /// How the scene is best seen when it opens: contact dots, quadtree cells, the camera following.
    bool startContacts = false, startQuadTrees = false, startFollowing = false;
    ///@}
};
using TSceneRef = std::unique_ptr<TScene>;

/// Draws the current world as the samples do: its bounds, every zone (as it draws itself, then its
/// outline, and its quadtree cells when asked), every active stick and every active mass in the
/// colour of its collision group (frozen masses white), at the given alpha, then the contact dots.
void DrawWorld(const TShow& show, float bodyAlpha = 1.0f);
/// Draws a dot at each contact point, its radius growing with the depth, yellow for a mass, cyan for
/// a zone, red for the bounds.
void DrawContacts(const std::vector<TContact>& contacts);
/// The colour the samples give a collision group: red, green, blue 0-255.
void GroupColor(int group, int& red, int& green, int& blue);
/// Draws one mass as a disc in its group's colour (white when frozen).
void DrawMass(const TMass& mass);
/// Draws a zone's outline in the current colour whatever its style and picture (a LINE open, the
/// others closed), at its position.
void DrawZoneOutline(const TZone& zone);
/// Draws text centred on a world point, in screen pixels, in the current colour.
void DrawWorldLabel(const std::string& text, float x, float y);

/// A soft blob as an indexed body, not yet active: a centre mass and `ring` masses on a circle of
/// `radius` round it, all of radius `massRadius` in one fresh collision group, with a stick of the
/// given stiffness between every pair.
TAdvBodyRef MakeBlob(float cx, float cy, float radius, int ring, float massRadius, float stiffness);

/// The value of the figure of that name, or `otherwise` when the scene shows none of that name.
float FigureValue(const TScene& scene, const std::string& name, float otherwise = -1.0f);

/// Active masses whose centres lie inside the world's bounds.
int MassesInsideBounds();
/// Mean speed of the active masses that are not frozen, world units per step; 0 for none.
float MeanSpeed();
/// The least and the greatest stress (length over rest length) of the active sticks; 1 and 1 for none.
void StressRange(float& least, float& greatest);

/// The library's one current world and its registries, kept so that a scene can run several worlds:
/// Capture after building one, MakeCurrent before stepping or drawing it.
class TWorldSlot
{
  public:
    /// Takes the current world and its registries.
    void Capture();
    /// Makes the captured world the current one.
    void MakeCurrent() const;
    /// Drops the captured world; the current one is left alone unless it is this one.
    void Release();

    std::shared_ptr<TPhysics> physics;
    std::shared_ptr<TList<TMassRef>> masses;
    std::shared_ptr<TList<TConstraintRef>> constraints;
    std::shared_ptr<TList<TZoneRef>> zones;
};

/// The name of a queue mode of TColEvent: "UPDATE", "REPLACE" or "DISCARD".
const char* EventModeName(int mode);

/// printf-style formatting into a string, for panel lines.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace ravel::samples

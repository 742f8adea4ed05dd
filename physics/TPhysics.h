// physics/TPhysics.h: the current world: bounds, gravity, passes, registries, grid, step and camera.
#pragma once
#include "physics/TObject.h"
#include "platform/TImage.h"
#include "platform/TList.h"

#include <memory>
#include <vector>

namespace ravel
{

namespace detail
{
struct World;
} // namespace detail

/// The simulation world. There is one current world, held in `world`; every function acts on it.
/// Called while no world exists, every function except Create does nothing and returns 0 (0.0 for the
/// float queries; GetBounds writes zeros).
///
/// Units: positions in world units; velocities are implicit (position minus previous position) in
/// world units per step and gravity is in world units per step squared: Update is one fixed step with
/// no time argument. +y points down the screen. Angles are degrees, 0 along +x, positive turning from
/// +x toward +y.
class TPhysics : public TObject
{
  public:
    static constexpr int MAX_GRID = 64; ///< side of the cell array

    ///@{
    /// Not copyable: there is one current world.
    TPhysics(const TPhysics&) = delete;
    TPhysics& operator=(const TPhysics&) = delete;
    ///@}

    /// Makes a new, empty world the current one and returns it (never null): bounds (0, 0)-(maxX, maxY),
    /// gravity (gravX, gravY) in world units per step squared (note the vertical component comes
    /// first, unlike SetGravity(x, y)), `iterations` relaxation passes per step, wall friction 1, an
    /// 8 x 8 grid that is off, and an identity camera (world units drawn as pixels) until the first
    /// camera call. The new world has fresh, empty registries: masses, constraints and zones of an
    /// earlier world are no longer simulated, even though their own counts still say active. maxX and
    /// maxY must be positive.
    static std::shared_ptr<TPhysics> Create(float maxX, float maxY, float gravY, float gravX, int iterations);
    /// Gravity in world units per step squared, added to every free mass's velocity each step;
    /// +y is down the screen. Returns 0.
    static int SetGravity(float x, float y);
    /// Relaxation passes per step, unclamped; 0 or less makes a step only move the masses (no
    /// constraints, bounds or collisions). Returns 0.
    static int SetIterations(int n);
    /// The world rectangle in world units; the corners are sorted. The grid ratios are kept until the
    /// next SetGridSize. Returns 0.
    static int SetBounds(float x1, float y1, float x2, float y2);
    /// Writes the minimum corner, then the maximum corner; zeros when there is no world. Returns 0.
    static int GetBounds(float& minX, float& minY, float& maxX, float& maxY);
    /// Wall friction, unclamped: at a bound, the sliding speed along the wall drops by the depth times
    /// the mean of this and the mass's friction. Starts at 1. Returns 0.
    static int SetFriction(float f);
    /// 1: mass pairs are found through the grid (only masses in the same or adjacent cells meet, so a
    /// cell must be at least as large as the radius sum of two touching masses); 0 (the start value):
    /// every pair is tested. Returns 0.
    static int UseShiftedGrid(int flag);
    /// Cells per side, clamped to [8, 64]; the cell size follows from the current bounds' extent. The
    /// grid starts at (0, 0) whatever the bounds; masses beyond it share the edge cells. Returns 0.
    static int SetGridSize(int n);
    /// The camera: the world point shown at the screen centre. Returns 0.
    static int SetDrawCoords(float x, float y);
    /// The camera zoom: screen pixels per world unit, 1 at the start; it must not be 0 (SimX and
    /// SimY divide by it). Returns 0.
    static int SetDrawZoom(float zoom);
    /// The camera rotation in degrees: positive turns the picture from +x toward +y (clockwise on the
    /// screen, since +y is down), 0 at the start. Returns 0.
    static int SetDrawRotation(float degrees);
    /// Recomputes the view matrix and offsets from the centre, zoom, rotation and the current graphics
    /// size; the camera setters call it, and a program calls it after a change of display mode.
    /// Returns 0.
    static int UpdateTransform();
    ///@{
    /// World coordinates under the pointer (the pointer's pixel through SimX, SimY); 0 without a world.
    static float MouseX();
    static float MouseY();
    ///@}
    ///@{
    /// Screen pixel (sx, sy) to world coordinates, the inverse of ScreenX, ScreenY; 0 without a world.
    static float SimX(float sx, float sy);
    static float SimY(float sx, float sy);
    ///@}
    /// Draws an image frame with its handle at the world point (x, y): the caller's scale is multiplied
    /// by the zoom and the caller's rotation added to the camera's; colour, alpha and blend are the
    /// caller's. The drawing layer's state is restored afterwards. Returns 0.
    static int DrawImage(const TImageRef& image, float x, float y, int frame);
    /// Draws a filled polygon whose interleaved vertices x0, y0, x1, y1, ... are world offsets from the
    /// point (x, y); at least 3 vertices. The zoom replaces the caller's scale; the caller's rotation
    /// and origin compose with the camera's. Returns 0.
    static int DrawPoly(const std::vector<float>& xy, float x, float y);
    /// Draws a line between two world points, last pixel included; the line width stays in pixels.
    /// Returns 0.
    static int DrawLine(float x1, float y1, float x2, float y2);
    /// Draws a filled ellipse whose bounding box has its corner at world (x, y) and the world size
    /// w x h, turned about that corner by the camera's and the caller's rotation. Returns 0.
    static int DrawOval(float x, float y, float w, float h);
    /// Draws a filled rectangle, placed like DrawOval. Returns 0.
    static int DrawRect(float x, float y, float w, float h);
    ///@{
    /// World point (x, y) to screen pixel; 0 without a world.
    static float ScreenX(float x, float y);
    static float ScreenY(float x, float y);
    ///@}
    /// One simulation step: moves every active mass by its velocity plus gravity, empties the event
    /// queue, then runs the relaxation passes (constraints; then, mass by mass, bounds, zones and other
    /// masses). This step's contacts are in the event queue when it returns. Event hooks and zone
    /// responses run inside it and may change anything, the world included: what they remove is not
    /// visited again, and once the world is freed or replaced its step ends. Called from inside a step,
    /// it returns 0 without stepping. Returns 0.
    static int Update();
    /// Zeroes the settings and drops the world and its registries; objects the program still holds
    /// survive, unsimulated. Returns 0.
    static int Free();

    /// TColEvent::MASS_BOUNDS: contacts with the world are contacts with its bounds.
    int EventKind() const override;

    ///@{
    /// The world rectangle, world units (SetBounds, GetBounds).
    float boundsMaxX = 0.0f;
    float boundsMaxY = 0.0f;
    float boundsMinX = 0.0f;
    float boundsMinY = 0.0f;
    ///@}
    float friction = 1.0f; ///< wall friction, added to the mass's own at a bound
    float gravityX = 0.0f; ///< world units per step squared
    /// Vertical gravity, world units per step squared; +y is down.
    float gravityY = 0.0f;
    int i = 0;           ///< relaxation passes per step
    int gridon = 0;      ///< 1 = mass pairs through the grid
    int gridsize = 0;    ///< cells per side in use, 8 to 64
    float ratiox = 0.0f; ///< cells per world unit
    /// Cells per world unit along y.
    float ratioy = 0.0f;
    float drawOffsetX = 0.0f; ///< screen position of the world origin
    /// Screen position of the world origin, y.
    float drawOffsetY = 0.0f;
    float drawScale = 1.0f; ///< zoom
    float centerX = 0.0f;   ///< world point at the screen centre
    /// World point at the screen centre, y.
    float centerY = 0.0f;
    float drawRot = 0.0f; ///< camera rotation, degrees
    float drawIX = 1.0f;  ///< view matrix
    ///@{
    /// View matrix: a world offset (x, y) lands (x drawIX + y drawIY, x drawJX + y drawJY) pixels away.
    float drawIY = 0.0f;
    float drawJX = 0.0f;
    float drawJY = 1.0f;
    ///@}

  private:
    // Worlds are made by Create only, which also makes their grid.
    friend struct detail::World;
    TPhysics();
};

/// The current world; null before the first Create and after Free.
extern std::shared_ptr<TPhysics> world;
/// Every active mass, in the order in which they became active; null while there is no world.
extern std::shared_ptr<TList<TMassRef>> massList;
/// Every active constraint, in the order in which they became active; null while there is no world.
extern std::shared_ptr<TList<TConstraintRef>> constraintList;
/// Every registered zone; null while there is no world.
extern std::shared_ptr<TList<TZoneRef>> zoneList;
/// Next automatic collision group: -2, -3, ... shared by masses and zones, never reused.
extern int nextAutoColGroup;

} // namespace ravel

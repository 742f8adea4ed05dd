// physics/TPhysics.h: the current world: bounds, gravity, passes, registries, grid, step and camera.
#pragma once
#include "physics/TObject.h"
#include "physics/detail/Grid.h"
#include "platform/TImage.h"
#include "platform/TList.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ravel
{

/// The simulation world. There is one current world, held in `world`; every function acts on it.
/// Called while no world exists, every function except Create does nothing and returns 0.
class TPhysics : public TObject
{
  public:
    static constexpr int MAX_GRID = 64; ///< side of the cell array

    TPhysics();
    /// Unfiles the masses still in its grid, so they can be re-filed or destroyed later.
    ~TPhysics() override;
    TPhysics(const TPhysics&) = delete;
    TPhysics& operator=(const TPhysics&) = delete;

    /// Makes a new, empty world the current one: bounds (0, 0)-(maxX, maxY), gravity (gravX, gravY)
    /// (note the vertical component comes first), `iterations` passes, wall friction 1, grid 8 x 8.
    static std::shared_ptr<TPhysics> Create(float maxX, float maxY, float gravY, float gravX, int iterations);
    static int SetGravity(float x, float y);
    /// Passes per step, unclamped.
    static int SetIterations(int n);
    /// Sorts the corners; the grid ratios are kept until the next SetGridSize.
    static int SetBounds(float x1, float y1, float x2, float y2);
    static int GetBounds(float& minX, float& minY, float& maxX, float& maxY);
    /// Wall friction, unclamped.
    static int SetFriction(float f);
    /// 1: mass pairs are found through the grid; 0: every pair is tested.
    static int UseShiftedGrid(int flag);
    /// Cells per side, clamped to [8, 64]; the ratios follow from the current bounds.
    static int SetGridSize(int n);
    /// World point shown at the screen centre.
    static int SetDrawCoords(float x, float y);
    /// Screen pixels per world unit.
    static int SetDrawZoom(float zoom);
    /// Camera rotation in degrees.
    static int SetDrawRotation(float degrees);
    /// Recomputes the view matrix and offsets from the centre, zoom, rotation and graphics size.
    static int UpdateTransform();
    /// World coordinates under the pointer.
    static float MouseX();
    static float MouseY();
    /// Screen pixel to world coordinate.
    static float SimX(float sx, float sy);
    static float SimY(float sx, float sy);
    /// Draws an image frame at a world point, composing the camera with the caller's scale and rotation.
    static int DrawImage(const TImageRef& image, float x, float y, int frame);
    /// Draws a filled polygon with vertices relative to the world point (x, y), at the camera's zoom.
    static int DrawPoly(const std::vector<float>& xy, float x, float y);
    /// Draws a line between two world points, last pixel included.
    static int DrawLine(float x1, float y1, float x2, float y2);
    /// Draws an ellipse whose bounding box has its corner at world (x, y) and size w x h.
    static int DrawOval(float x, float y, float w, float h);
    /// Draws a filled rectangle, placed like DrawOval.
    static int DrawRect(float x, float y, float w, float h);
    /// World point to screen pixel.
    static float ScreenX(float x, float y);
    static float ScreenY(float x, float y);
    /// One simulation step. Event hooks and zone responses run inside it and may change anything,
    /// the world included: what they remove is not visited again, and once the world is freed or
    /// replaced its step ends. Called from inside a step, it returns 0 without stepping.
    static int Update();
    /// Zeroes the settings and drops the world and its registries.
    static int Free();

    int EventKind() const override;

    float boundsMaxX = 0.0f;
    float boundsMaxY = 0.0f;
    float boundsMinX = 0.0f;
    float boundsMinY = 0.0f;
    float friction = 1.0f; ///< wall friction, added to the mass's own at a bound
    float gravityX = 0.0f; ///< world units per step squared
    float gravityY = 0.0f;
    int i = 0;      ///< relaxation passes per step
    int gridon = 0; ///< 1 = mass pairs through the grid
    /// The cells, [column][row]. They do not own their masses: a mass unfiles itself when it is
    /// destroyed, and the world unfiles the rest when it is destroyed.
    detail::GridCell shiftgrid[MAX_GRID][MAX_GRID];
    int gridsize = 0;    ///< cells per side in use, 8 to 64
    float ratiox = 0.0f; ///< cells per world unit
    float ratioy = 0.0f;
    float drawOffsetX = 0.0f; ///< screen position of the world origin
    float drawOffsetY = 0.0f;
    float drawScale = 1.0f; ///< zoom
    float centerX = 0.0f;   ///< world point at the screen centre
    float centerY = 0.0f;
    float drawRot = 0.0f; ///< camera rotation, degrees
    float drawIX = 1.0f;  ///< view matrix
    float drawIY = 0.0f;
    float drawJX = 0.0f;
    float drawJY = 1.0f;

    // Working state of the step, kept between steps so that stepping allocates nothing once warm.
    std::vector<TMass*> snapshot;              ///< the masses of the running pass, in massList order
    std::vector<TConstraint*> constraintArray; ///< constraintList in order, as of constraintsVersion
    std::uint64_t massesVersion = 0;           ///< registry version the snapshot was taken at
    std::uint64_t constraintsVersion = 0;      ///< registry version constraintArray was taken at
};

/// The current world; null before the first Create and after Free.
extern std::shared_ptr<TPhysics> world;
/// Every active mass, in the order in which they became active.
extern std::shared_ptr<TList<TMassRef>> massList;
/// Every active constraint, in the order in which they became active.
extern std::shared_ptr<TList<TConstraintRef>> constraintList;
/// Every registered zone.
extern std::shared_ptr<TList<TZoneRef>> zoneList;
/// Next automatic collision group: -2, -3, ... shared by masses and zones.
extern int nextAutoColGroup;

} // namespace ravel

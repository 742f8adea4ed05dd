// physics/TZone.h: static polygons and polylines that masses collide with, and their files.
#pragma once
#include "physics/Refs.h"
#include "physics/TObject.h"
#include "physics/TQuadTree.h"
#include "platform/TImage.h"
#include "platform/TList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ravel
{

namespace detail
{
struct Internals;
} // namespace detail

/// A collision response: (zone, mass, nx, ny, depth) with (nx, ny) the way out (a unit vector, zero
/// only for a mass centred exactly on the outline) and depth > 0 the distance to move, world units.
/// It runs inside the step, once per contact and pass, before the contact's MASS_ZONE event is
/// emitted. Its result is ignored. A plain function such as TZone::ColDefault converts to it, as does
/// a lambda.
using TZoneResponse = std::function<int(const TZoneRef&, const TMassRef&, float, float, float)>;
/// The plain-function form of a response.
using TZoneResponseFn = int (*)(const TZoneRef&, const TMassRef&, float, float, float);

/// Static geometry: a polygon or polyline of one of four styles that masses collide with and that
/// never moves by itself. `origArea` holds the authored vertices, `area` the same after scale and
/// rotation, both relative to the zone's origin; the position is never baked in, so moving a zone is
/// free while turning or scaling it rebuilds `area` and the quadtree.
///
/// Zones made by Create, Load or Copy join the current world's zoneList and are collided with every
/// non-frozen mass whose group admits them (both groups non-zero and different), in every pass. Make
/// them while the world that is to simulate them exists: a new world starts with an empty zoneList.
/// Free takes a zone out. Zones must be owned by a std::shared_ptr (the factories do that).
class TZone : public TObject
{
  public:
    static constexpr int LINE = 0; ///< open polyline, collided from either side
    static constexpr int LOOP = 1; ///< closed outline, collided from either side
    static constexpr int FILL = 2; ///< solid polygon: masses are pushed out
    static constexpr int HOLE = 3; ///< free region: masses are pushed back in

    /// New registered zone named "Zone" over the interleaved vertices x0, y0, x1, y1, ... (world units,
    /// relative to its origin, which starts at (0, 0)); null (nothing registered) for fewer than 4
    /// floats or an odd count. style: LINE, LOOP, FILL or HOLE, stored unchecked (another value gets no
    /// quadtree and never collides). friction clamped to [0, 1]. colGroup: 0 collides with nothing, -1
    /// takes the next automatic group. qtLevel: levels of the quadtree, 1 (only the bounding box) to 32;
    /// 4 to 6 suit most zones.
    static TZoneRef Create(std::vector<float> area, int style, float friction, int colGroup, int qtLevel);
    /// Reads a zone file and registers the zone; null (nothing registered) for a missing, foreign,
    /// truncated or malformed file. A picture that is missing or cannot be decoded gives a zone
    /// without a picture. A file with a picture leaves the image loader's mask colour (SetMaskColor)
    /// set to the picture's. A stored group of -1 takes a fresh automatic group.
    static TZoneRef Load(const std::string& path);
    /// Writes the zone file (".rvz" added when the path has no extension) and, for a picture that is
    /// not embedded, its side file. The new contents go to temporary files in the same folder, which
    /// replace the old ones only once completely written, so a failed save leaves the old files as
    /// they were. backup != 0 first copies the file being replaced to the same name plus ".bak". An
    /// automatic group (below -1) is written as -1, so the loaded zone takes a fresh one. A directory
    /// path writes nothing. Returns 0 in every case: a failed save cannot be told from a good one.
    int Save(const std::string& path, int backup, int embedImage);
    /// A new registered zone equal to this one, sharing its quadtree and image; null if this zone has
    /// no vertices.
    TZoneRef Copy() const;
    /// Should a step's event not yet asked for still name the zone (only a zone taken out of zoneList by
    /// hand can be destroyed then), that event names null in its place; see TColEvent.
    ~TZone() override;

    ///@{
    /// A free label, "Zone" from Create; SetName returns 0.
    int SetName(const std::string& text);
    std::string GetName() const { return name; }
    ///@}
    /// Surface friction, clamped to [0, 1]: a contact's sliding speed drops by up to the depth times
    /// the mean of this and the mass's friction. Returns 0.
    int SetFriction(float value);
    /// Surface friction, 0 to 1 (a loaded file's value is taken as stored).
    float GetFriction() const { return friction; }
    /// Stores the style unchecked; the quadtree built for the old style stays in use until
    /// CalcQuadTree. Returns 0.
    int SetStyle(int value);
    /// The style: LINE, LOOP, FILL, HOLE, or whatever SetStyle stored.
    int GetStyle() const { return style; }
    /// Places the zone's origin at world (x, y); area and quadtree are unchanged. Returns 0.
    int Position(float x, float y);
    /// Moves the zone's origin by (dx, dy) world units. Returns 0.
    int Move(float dx, float dy);
    ///@{
    /// World position of the zone's origin. GetX, GetY are the same as GetPositionX, GetPositionY.
    float GetPositionX() const { return offsetX; }
    float GetPositionY() const { return offsetY; }
    float GetX() const { return offsetX; }
    float GetY() const { return offsetY; }
    ///@}
    /// Sets the rotation in degrees about the origin (positive turns +x toward +y) and rebuilds area
    /// and quadtree. Returns 0.
    int Rotate(float degrees);
    /// Adds to the rotation in degrees and rebuilds area and quadtree. Returns 0.
    int Turn(float degrees);
    /// The rotation, degrees.
    float GetRotation() const { return angle; }
    /// Sets the scale applied before the rotation (unclamped, 1 at the start) and rebuilds area and
    /// quadtree. Returns 0.
    int SetScale(float sx, float sy);
    /// Writes the scale. Returns 0.
    int GetScale(float& sx, float& sy) const;
    /// Tint channels 0..255, clamped, stored as fractions of 255; the tint multiplies the caller's
    /// drawing colour. Returns 0.
    int SetColor(int r, int g, int b);
    /// The stored fractions times 255, truncated: every value 0..255 set reads back unchanged.
    /// Returns 0.
    int GetColor(int& r, int& g, int& b) const;
    /// Opacity factor, stored unclamped (unlike TRig::SetAlpha); it multiplies the caller's alpha, and
    /// the drawing layer clamps the product to [0, 1]. Returns 0.
    int SetAlpha(float value);
    /// Opacity factor as stored.
    float GetAlpha() const { return alpha; }
    /// Blend mode number used while drawing (1 mask, 2 solid, 3 alpha, 4 light, 5 shade), stored
    /// unchanged. Returns 0.
    int SetBlend(int mode);
    /// The blend mode number.
    int GetBlend() const { return blend; }

    /// Number of vertices.
    int VertCount() const;
    /// Appends an authored vertex (zone frame, before scale and rotation) and rebuilds the quadtree.
    /// Returns 0.
    int VertAddLast(float x, float y);
    /// Puts an authored vertex first and rebuilds the quadtree. Returns 0.
    int VertAddFirst(float x, float y);
    /// Inserts so the vertex becomes number index, 0..VertCount(); otherwise nothing happens.
    /// Returns 0.
    int VertInsert(int index, float x, float y);
    /// Removes the last vertex, unless only 2 are left: removals never leave fewer. Returns 0.
    int VertRemoveLast();
    /// Removes the first vertex, unless only 2 are left. Returns 0.
    int VertRemoveFirst();
    /// Removes vertex index, unless only 2 are left or the index is out of range. Returns 0.
    int VertRemove(int index);
    /// Moves authored vertex index to (x, y) and rebuilds the quadtree; nothing for an index out of
    /// range. Returns 0.
    int VertPosition(int index, float x, float y);
    /// Writes the authored vertex; out-parameters untouched for an index out of range. Returns 0.
    int VertGetPosition(int index, float& x, float& y) const;
    ///@{
    /// Authored coordinate of the vertex; 0 for an index out of range.
    float VertGetX(int index) const;
    float VertGetY(int index) const;
    ///@}

    /// Stores the level (1 to 32 levels of cells) and rebuilds the quadtree over the bounding box of
    /// area enlarged by 1. Returns 0.
    int CalcQuadTree(int level);
    /// The quadtree level last asked for.
    int GetQTLevel() const { return qtLevel; }
    /// A copy of the scaled and rotated vertices, without the position.
    std::vector<float> GetArea() const { return area; }
    /// The collision group: 0 collides with nothing, a mass of the same non-zero group passes
    /// through, -1 takes the next automatic group; anything else is stored. Returns 0.
    int SetColGroup(int group);
    /// The collision group.
    int GetColGroup() const { return colGroup; }
    /// Leaves zoneList; the zone stays usable (drawn, edited, saved, copied) but is no longer
    /// simulated, and nothing puts it back (a Copy is registered anew). Returns 0.
    int Free();
    /// The picture drawn instead of the outline; null goes back to the outline. Returns 0.
    int ImageSet(const TImageRef& picture);
    /// The picture, or null.
    TImageRef ImageGet() const { return image; }
    /// Extra scale of the picture only, on top of the zone's scale; 1 at the start. Returns 0.
    int ImageSetScale(float sx, float sy);
    /// Writes the picture's extra scale. Returns 0.
    int ImageGetScale(float& sx, float& sy) const;
    /// Draws the picture (handle on the origin, turned and scaled with the zone) if there is one, else
    /// the outline by style, in world space: lines for LINE, LOOP and HOLE, a filled polygon for FILL.
    /// The tint and alpha multiply the caller's; the drawing state is restored afterwards. Returns 0.
    int Draw() const;
    /// Draws the quadtree's leaves at the zone's position (mode != 0 filled, 0 outlined); nothing
    /// without a tree. Returns 0.
    int DrawQuadTree(int mode) const;
    /// Installs a response called for every contact instead of the push-out; an empty one reinstalls
    /// ColDefault. A response that wants the standard behaviour too calls ColDefault itself. Returns 0.
    int OverrideCollision(TZoneResponse response);
    /// Recomputes area from origArea; leaves the quadtree alone. Returns 0.
    int UpdateArea();
    /// Detects and resolves one contact with the mass, calls the response and emits a MASS_ZONE event,
    /// as the step does for each admitted pair (it tests no groups and no frozen state). Returns 0.
    int Collide(TMass& mass);
    /// The same for a handle; a null mass does nothing. Returns 0.
    int Collide(const TMassRef& mass);
    /// The standard response: pushes the mass out by depth along (nx, ny), then brakes its sliding
    /// speed by up to depth times the mean friction of zone and mass. Null arguments do nothing.
    /// Returns 0.
    static int ColDefault(const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth);

    /// TColEvent::MASS_ZONE: a contact with a zone is a mass-zone event.
    int EventKind() const override;
    /// This zone.
    TZone* AsZone() override { return this; }

    /// A free label.
    std::string name;
    std::vector<float> origArea; ///< authored vertices x0, y0, x1, y1, ...; even count
    std::vector<float> area;     ///< origArea scaled and rotated, position not included
    /// LINE, LOOP, FILL or HOLE.
    int style = LINE;
    float friction = 0.0f; ///< [0, 1]
    float offsetX = 0.0f;  ///< world position of the zone's origin
    /// World position of the zone's origin, y.
    float offsetY = 0.0f;
    float angle = 0.0f; ///< degrees
    ///@{
    /// Scale applied to origArea before the rotation.
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    ///@}
    ///@{
    float red = 1.0f; ///< tint 0..1
    float green = 1.0f;
    float blue = 1.0f;
    ///@}
    /// Opacity factor, unclamped.
    float alpha = 1.0f;
    /// Blend mode number used while drawing.
    int blend = 1;
    /// Collision group; 0 collides with nothing.
    int colGroup = -1;
    /// The response called for each contact (OverrideCollision).
    TZoneResponse ColResponse = &TZone::ColDefault;
    TQuadTreeRef quadTree; ///< over area; null when the style was outside 0..3
    /// Quadtree level last asked for.
    int qtLevel = 0;
    TImageRef image; ///< drawn instead of the outline when set
    ///@{
    /// Extra scale of the picture.
    float imgScaleX = 1.0f;
    float imgScaleY = 1.0f;
    ///@}
    TLink link; ///< node in zoneList while registered; does not own

  private:
    friend struct detail::Internals;

    int Register();
    void TransformVertex(float x, float y, float& tx, float& ty) const;
    /// Replaces both vertex arrays by new ones with `erase` floats removed at `at` and, when `insert`
    /// is set, the vertex (x, y) and its transform put there; then rebuilds the quadtree.
    int Splice(std::size_t at, std::size_t erase, bool insert, float x, float y);
    static int PushOut(TZone& zone, TMass& mass, float nx, float ny, float depth);
    /// The cell a zone's tree covers: the bounding box of the vertices, enlarged by 1 on every side;
    /// false without vertices.
    static bool RootCell(const std::vector<float>& area, float& x, float& y, float& w, float& h);

    std::uint64_t eventsNamed_ = 0; // generation of the event queue in which a plain record named it
};

} // namespace ravel

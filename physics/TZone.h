// physics/TZone.h: static polygons and polylines that masses collide with, and their files.
#pragma once
#include "physics/Refs.h"
#include "physics/TObject.h"
#include "physics/TQuadTree.h"
#include "platform/TImage.h"
#include "platform/TList.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ravel
{

/// A collision response: (zone, mass, nx, ny, depth) with (nx, ny) the way out and depth > 0. Its
/// result is ignored. A plain function such as TZone::ColDefault converts to it, as does a lambda.
using TZoneResponse = std::function<int(const TZoneRef&, const TMassRef&, float, float, float)>;
/// The plain-function form of a response.
using TZoneResponseFn = int (*)(const TZoneRef&, const TMassRef&, float, float, float);

/// A static polygon of one of four styles. `origArea` holds the authored vertices, `area` the same
/// after scale and rotation; the position is never baked in.
class TZone : public TObject
{
  public:
    static constexpr int LINE = 0; ///< open polyline, collided from either side
    static constexpr int LOOP = 1; ///< closed outline, collided from either side
    static constexpr int FILL = 2; ///< solid polygon: masses are pushed out
    static constexpr int HOLE = 3; ///< free region: masses are pushed back in

    /// New registered zone over the interleaved vertices; null (nothing registered) for fewer than 4
    /// floats or an odd count. colGroup -1 takes the next automatic group.
    static TZoneRef Create(std::vector<float> area, int style, float friction, int colGroup, int qtLevel);
    /// Reads a zone file and registers the zone; null (nothing registered) for a missing, foreign,
    /// truncated or malformed file. A picture that is missing or cannot be decoded gives a zone
    /// without a picture.
    static TZoneRef Load(const std::string& path);
    /// Writes the zone file (".rvz" added when the path has no extension) and, for a picture that is
    /// not embedded, its side file. The new contents go to temporary files in the same folder, which
    /// replace the old ones only once completely written, so a failed save leaves the old files as
    /// they were. backup != 0 first copies the file being replaced to the same name plus ".bak".
    /// Returns 0 in every case.
    int Save(const std::string& path, int backup, int embedImage);
    /// A new registered zone equal to this one, sharing its quadtree and image; null if this zone has
    /// no vertices.
    TZoneRef Copy() const;

    int SetName(const std::string& text);
    std::string GetName() const { return name; }
    /// Stores the friction clamped to [0, 1].
    int SetFriction(float value);
    float GetFriction() const { return friction; }
    /// Stores the style; the quadtree is kept until CalcQuadTree.
    int SetStyle(int value);
    int GetStyle() const { return style; }
    int Position(float x, float y);
    int Move(float dx, float dy);
    float GetPositionX() const { return offsetX; }
    float GetPositionY() const { return offsetY; }
    float GetX() const { return offsetX; }
    float GetY() const { return offsetY; }
    /// Sets the rotation in degrees and rebuilds area and quadtree.
    int Rotate(float degrees);
    /// Adds to the rotation in degrees and rebuilds area and quadtree.
    int Turn(float degrees);
    float GetRotation() const { return angle; }
    /// Sets the scale (unclamped) and rebuilds area and quadtree.
    int SetScale(float sx, float sy);
    int GetScale(float& sx, float& sy) const;
    /// Colour channels 0..255, clamped, stored as fractions.
    int SetColor(int r, int g, int b);
    int GetColor(int& r, int& g, int& b) const;
    int SetAlpha(float value);
    float GetAlpha() const { return alpha; }
    int SetBlend(int mode);
    int GetBlend() const { return blend; }

    int VertCount() const;
    int VertAddLast(float x, float y);
    int VertAddFirst(float x, float y);
    /// Inserts so the vertex becomes number index, 0..VertCount(); otherwise nothing happens.
    int VertInsert(int index, float x, float y);
    /// Removals never leave fewer than 2 vertices.
    int VertRemoveLast();
    int VertRemoveFirst();
    int VertRemove(int index);
    int VertPosition(int index, float x, float y);
    /// Writes the authored vertex; out-parameters untouched for an index out of range.
    int VertGetPosition(int index, float& x, float& y) const;
    /// Authored coordinate of the vertex; 0 for an index out of range.
    float VertGetX(int index) const;
    float VertGetY(int index) const;

    /// Stores the level and rebuilds the quadtree over the bounding box of area enlarged by 1.
    int CalcQuadTree(int level);
    int GetQTLevel() const { return qtLevel; }
    /// A copy of the scaled and rotated vertices, without the position.
    std::vector<float> GetArea() const { return area; }
    /// -1 takes the next automatic group; anything else is stored.
    int SetColGroup(int group);
    int GetColGroup() const { return colGroup; }
    /// Leaves zoneList; the zone stays usable but is no longer simulated.
    int Free();
    int ImageSet(const TImageRef& picture);
    TImageRef ImageGet() const { return image; }
    int ImageSetScale(float sx, float sy);
    int ImageGetScale(float& sx, float& sy) const;
    /// Draws the image if there is one, else the outline by style, in world space.
    int Draw() const;
    /// Draws the quadtree at the zone's position; nothing without one.
    int DrawQuadTree(int mode) const;
    /// Installs a response; an empty one reinstalls ColDefault.
    int OverrideCollision(TZoneResponse response);
    /// Recomputes area from origArea; leaves the quadtree alone.
    int UpdateArea();
    /// Detects and resolves one contact with the mass, calls the response and emits a MASS_ZONE event.
    /// Returns 0.
    int Collide(TMass& mass);
    int Collide(const TMassRef& mass);
    /// The standard push-out and friction. Returns 0.
    static int ColDefault(const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth);

    int EventKind() const override;
    TZone* AsZone() override { return this; }

    std::string name;
    std::vector<float> origArea; ///< authored vertices x0, y0, x1, y1, ...; even count
    std::vector<float> area;     ///< origArea scaled and rotated, position not included
    int style = LINE;
    float friction = 0.0f; ///< [0, 1]
    float offsetX = 0.0f;  ///< world position of the zone's origin
    float offsetY = 0.0f;
    float angle = 0.0f; ///< degrees
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float red = 1.0f; ///< tint 0..1
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
    int blend = 1;
    int colGroup = -1;
    TZoneResponse ColResponse = &TZone::ColDefault;
    TQuadTreeRef quadTree; ///< over area; null when the style was outside 0..3
    int qtLevel = 0;
    TImageRef image; ///< drawn instead of the outline when set
    float imgScaleX = 1.0f;
    float imgScaleY = 1.0f;
    TLink link; ///< node in zoneList while registered; does not own

  private:
    int Register();
    void TransformVertex(float x, float y, float& tx, float& ty) const;
    /// Replaces both vertex arrays by new ones with `erase` floats removed at `at` and, when `insert`
    /// is set, the vertex (x, y) and its transform put there; then rebuilds the quadtree.
    int Splice(std::size_t at, std::size_t erase, bool insert, float x, float y);
    static int PushOut(TZone& zone, TMass& mass, float nx, float ny, float depth);
};

} // namespace ravel

// physics/TAdvBody.h: the indexed body: slot-numbered masses, constraints, images and rigs.
#pragma once
#include "physics/TBody.h"
#include "physics/TRig.h"
#include "platform/TImage.h"
#include "platform/TList.h"
#include "platform/TStream.h"

#include <memory>
#include <string>
#include <vector>

namespace ravel
{

class TAdvBody;
using TAdvBodyRef = std::shared_ptr<TAdvBody>;

/// A constraint group that owns four slot tables: masses, constraints, images and rigs. Elements are
/// addressed by slot number. Each table has a count (slots handed out, live or empty) and a capacity
/// (the array's length, at least the count). Adding takes the next slot and grows the capacity to twice
/// the new count when needed; removing empties a slot, which is never handed out again until the table
/// is compacted by its clean operation. Masses and constraints carry their slot in `index`.
///
/// Slot numbers outside 0 .. count-1 are refused by every operation with the neutral result of its
/// family: 0 for setters and actions, 0 or 0.0 for getters, the empty string for names, null for
/// elements and -1 for adders; out-parameters are then left untouched. An empty slot gives the same
/// neutral results.
///
/// The body is inactive until Activate, which assigns every constraint to it and so brings the
/// constraints and their masses into the current world; DeActivate (or Clear, or destroying the body)
/// takes them out again.
class TAdvBody : public TBody
{
  public:
    TAdvBody();
    ~TAdvBody() override;
    TAdvBody(const TAdvBody&) = delete;
    TAdvBody& operator=(const TAdvBody&) = delete;

    // Body files.

    /// Reads a body file into a new body, activated when `activate` is non-zero. The path is opened as
    /// given (no extension is added). Returns null, with nothing activated and no automatic collision
    /// group taken, for a missing file, an unknown magic, a truncated or inconsistent file (record slots
    /// outside their table or given twice, constraints or rigs naming missing masses or images, counts
    /// the file cannot hold: above its remaining bytes plus 65536), or an image, embedded or in its side
    /// file, that is missing or cannot be decoded. Negative collision groups are renumbered into fresh ones
    /// per load. A body with images leaves the image loader's mask colour (SetMaskColor) set to its
    /// last image's; a refused file leaves it as it was.
    static TAdvBodyRef Load(const std::string& path, int activate);
    /// Writes the body file: the path is made absolute and ".rvb" is added when it has no extension.
    /// Images are embedded (PNG level 9) when `embedImages` is non-zero, else written beside the file
    /// as "<path without extension>_img<slot>.png" (level 5). Everything is written to temporary files
    /// in the same folder first and moved over the targets only when all were written and closed, so a
    /// failed save leaves the previous files untouched. With `backup` non-zero a previous body file is
    /// copied to path + ".bak" before it is replaced. A directory path, or an image without pixels,
    /// writes nothing. Names are written without their LF, CR and NUL characters, which a line of the
    /// file cannot hold. Returns 0.
    int Save(const std::string& path, int backup, int embedImages);
    /// A deep, inactive copy: new masses, constraints and rigs in the same slots, the same image
    /// objects, fresh collision groups for the negative ones.
    TAdvBodyRef Copy() const;
    /// Compacts the mass, constraint, rig and image tables, in this order. Returns 0.
    int CleanIndex();
    /// Assigns every constraint to this body; repeated calls count once. Returns 0.
    int Activate();
    /// Frees every constraint from this body. Returns 0.
    int DeActivate();
    /// Draws every live rig in slot order. Returns 0.
    int Draw();

    // Whole-body motion. The reference mass is the live mass in the lowest slot, the reference
    // constraint the live constraint in the lowest slot; both are looked up on every call.

    /// Moves every mass as TMass::Move does: frozen masses stay, the others gain the shift as velocity.
    int Move(float dx, float dy);
    /// Shifts every mass, frozen ones too, without changing velocities.
    int Translate(float dx, float dy);
    /// Places the body at rest with its reference mass at (x, y), keeping its shape.
    int Position(float x, float y);
    /// The reference mass's position; left untouched for a body without masses.
    int GetPosition(float& x, float& y) const;
    /// The reference mass's x or y; 0 without masses.
    float GetX() const;
    float GetY() const;
    /// Turns the body about its reference mass so that its reference constraint points along `degrees`
    /// (relative to the present orientation without constraints); leaves it at rest.
    int Rotate(float degrees);
    /// The reference constraint's angle in degrees; 0 without constraints.
    float GetRotation() const;
    /// Turns the body by `degrees` with TMass::Move, so the turn becomes rotation speed.
    int Spin(float degrees);
    /// Turns the body by `degrees` with TMass::Translate, velocities unchanged.
    int Turn(float degrees);

    // Collision queries over the queued events of the last step; null instead of an empty list.

    /// Events between a mass of this body and a mass of the other, this body's masses outermost.
    TListRef<TColEventRef> CollideAdvBody(const TAdvBodyRef& other) const;
    /// Events between a mass of this body and the zone.
    TListRef<TColEventRef> CollideZone(const TZoneRef& zone) const;
    /// Events between a mass of this body and the world's bounds.
    TListRef<TColEventRef> CollideBounds() const;

    // Masses.

    /// Creates a mass in the next slot (colGroup -1 takes a fresh group); returns the slot.
    int MassAdd(float x, float y, float mass, float radius, float friction, int colGroup);
    /// Removes the rigs on the mass, then the constraints using it, then empties the slot. Returns 0.
    int MassRemove(int slot);
    int MassMaxIndex() const { return mIndex - 1; }
    /// Exchanges two slots within the count; otherwise nothing. Returns 0.
    int MassSwapIndex(int a, int b);
    /// Moves the live masses to slots 0..k-1 in order and sets the count to k. Returns 0.
    int MassCleanIndex();
    int MassExists(int slot) const;
    TMassRef MassGet(int slot) const;
    int MassSetName(int slot, const std::string& n);
    std::string MassGetName(int slot) const;
    int MassMove(int slot, float dx, float dy);
    int MassTranslate(int slot, float dx, float dy);
    int MassPosition(int slot, float x, float y);
    float MassGetPositionX(int slot) const;
    float MassGetPositionY(int slot) const;
    int MassGetPosition(int slot, float& x, float& y) const;
    float MassGetX(int slot) const;
    float MassGetY(int slot) const;
    int MassSetMass(int slot, float m);
    float MassGetMass(int slot) const;
    int MassSetRadius(int slot, float r);
    float MassGetRadius(int slot) const;
    int MassSetFriction(int slot, float f);
    float MassGetFriction(int slot) const;
    int MassFreeze(int slot);
    int MassThaw(int slot);
    int MassIsFrozen(int slot) const;
    int MassSetVelocity(int slot, float vx, float vy);
    int MassAddVelocity(int slot, float vx, float vy);
    float MassGetVelocityX(int slot) const;
    float MassGetVelocityY(int slot) const;
    float MassGetVX(int slot) const;
    float MassGetVY(int slot) const;
    float MassGetVelocity(int slot) const;
    int MassGetColGroup(int slot) const;
    int MassSetColGroup(int slot, int group);
    int MassIsActive(int slot) const;
    int MassDraw(int slot) const;
    int MassDrawAll() const;

    // Constraints.

    /// Connects every pair of live masses, rest lengths from their present distance. Returns 0.
    int ConAddAll(float stiffness);
    /// Creates a constraint between two different live mass slots; returns the slot, or -1.
    int ConAdd(int mass1, int mass2, float restLength, float stiffness);
    /// Removes the rigs turned by the constraint, frees it from this body, empties the slot. Returns 0.
    int ConRemove(int slot);
    int ConMaxIndex() const { return cIndex - 1; }
    int ConSwapIndex(int a, int b);
    int ConCleanIndex();
    int ConExists(int slot) const;
    TConstraintRef ConGet(int slot) const;
    int ConSetName(int slot, const std::string& n);
    std::string ConGetName(int slot) const;
    int ConAssign(int slot);
    int ConFree(int slot);
    /// Slot of the constraint's first / second mass; 0 for an empty slot.
    int ConGetMass1(int slot) const;
    int ConGetMass2(int slot) const;
    int ConSetRestLength(int slot, float length);
    float ConGetRestLength(int slot) const;
    int ConSetStiffness(int slot, float s);
    float ConGetStiffness(int slot) const;
    float ConGetAngle(int slot) const;
    float ConGetLength(int slot) const;
    float ConGetStress(int slot) const;
    int ConDraw(int slot) const;
    int ConDrawAll() const;

    // Rigs.

    /// Creates a rig on a live image slot and a live mass slot; a negative constraint slot means none,
    /// any other takes that slot's constraint (none when empty). Returns the slot, or -1.
    int RigAdd(int image, int mass, int con, float angle);
    int RigRemove(int slot);
    int RigMaxIndex() const { return rIndex - 1; }
    int RigSwapIndex(int a, int b);
    int RigCleanIndex();
    int RigExists(int slot) const;
    TRigRef RigGet(int slot) const;
    int RigSetName(int slot, const std::string& n);
    std::string RigGetName(int slot) const;
    /// Sets the rig's image when both slots are live.
    int RigSetImage(int slot, int image);
    /// The first image slot holding the rig's image; 0 for an empty rig slot, -1 when the image is not
    /// in the table.
    int RigGetImage(int slot) const;
    /// Sets the rig's mass when both slots are live.
    int RigSetMass(int slot, int mass);
    int RigGetMass(int slot) const;
    /// -1 clears the constraint; any other value takes that slot's constraint (none when empty).
    int RigSetConstraint(int slot, int con);
    /// Slot of the rig's constraint, -1 without one; 0 for an empty rig slot.
    int RigGetConstraint(int slot) const;
    int RigSetAngle(int slot, float degrees);
    float RigGetAngle(int slot) const;
    int RigSetScale(int slot, float x, float y);
    int RigGetScale(int slot, float& x, float& y) const;
    int RigSetColor(int slot, int r, int g, int b);
    int RigGetColor(int slot, int& r, int& g, int& b) const;
    int RigSetAlpha(int slot, float a);
    float RigGetAlpha(int slot) const;
    int RigSetBlend(int slot, int mode);
    int RigGetBlend(int slot) const;
    int RigDraw(int slot) const;

    // Images, shared with other bodies.

    /// Adds the image in the next slot; -1 for null.
    int ImageAdd(const TImageRef& image);
    /// Loads the PNG file with the default flags and adds it; -1 when it cannot be loaded.
    int ImageAdd(const std::string& path);
    /// Loads one PNG data stream at the stream's position and adds it; -1 when it cannot be decoded.
    int ImageAdd(TStream& stream);
    /// Removes the rigs drawing the image, then empties the slot. Returns 0.
    int ImageRemove(int slot);
    int ImageMaxIndex() const { return iIndex - 1; }
    int ImageSwapIndex(int a, int b);
    /// Puts a new image into a slot within the count and re-points the rigs that drew the old one.
    /// Returns 1, or 0 (nothing changed) for a null or unloadable image or a slot outside the count.
    int ImageReplace(int slot, const TImageRef& image);
    int ImageReplace(int slot, const std::string& path);
    int ImageReplace(int slot, TStream& stream);
    int ImageCleanIndex();
    int ImageExists(int slot) const;
    TImageRef ImageGet(int slot) const;

    int mIndex = 0;                     ///< count of the mass table
    std::vector<TMassRef> mArray;       ///< mass slots; size() is the capacity
    int cIndex = 0;                     ///< count of the constraint table
    std::vector<TConstraintRef> cArray; ///< constraint slots
    int iIndex = 0;                     ///< count of the image table
    std::vector<TImageRef> iArray;      ///< image slots
    int rIndex = 0;                     ///< count of the rig table
    std::vector<TRigRef> rArray;        ///< rig slots

  private:
    TMass* MassAt(int slot) const;
    TConstraint* ConAt(int slot) const;
    TRig* RigAt(int slot) const;
    int ReferenceSlot() const;
    int TurnBy(float degrees, bool asMotion);
};

} // namespace ravel

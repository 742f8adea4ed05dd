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
/// A shared handle on an indexed body.
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
/// takes them out again. Only masses used by a constraint are simulated, and elements added to an
/// active body wait for the next Activate.
class TAdvBody : public TBody
{
  public:
    /// An empty, inactive body named "Body"; make one with std::make_shared<TAdvBody>() (or
    /// AdvBodyCreate).
    TAdvBody();
    /// Gives back its constraints' counts (as DeActivate), so they and their masses leave the world.
    ~TAdvBody() override;
    ///@{
    /// Not copyable; Copy makes a deep copy.
    TAdvBody(const TAdvBody&) = delete;
    TAdvBody& operator=(const TAdvBody&) = delete;
    ///@}

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
    /// A deep, inactive copy (never null): new masses, constraints and rigs in the same slots, the
    /// same image objects, fresh collision groups for the negative ones.
    TAdvBodyRef Copy() const;
    /// Compacts the mass, constraint, rig and image tables, in this order; slot numbers held by the
    /// program are stale afterwards. Returns 0.
    int CleanIndex();
    /// Assigns every constraint to this body, which brings the constraints and the masses they use
    /// into the current world; repeated calls count once, and a repeat picks up constraints added
    /// since and brings back into the current world what a world replaced since left out. A mass no
    /// constraint uses stays unsimulated. Returns 0.
    int Activate();
    /// Frees every constraint from this body: constraints and masses that nothing else holds leave
    /// the world. The tables are kept. Returns 0.
    int DeActivate();
    /// Draws every live rig in slot order, later rigs on top; masses and constraints are not drawn
    /// (MassDrawAll, ConDrawAll). Returns 0.
    int Draw();

    // Whole-body motion. The reference mass is the live mass in the lowest slot, the reference
    // constraint the live constraint in the lowest slot; both are looked up on every call.

    /// Moves every mass by (dx, dy) world units as TMass::Move does: frozen masses stay, the others
    /// gain the shift as velocity. Returns 0.
    int Move(float dx, float dy);
    /// Shifts every mass by (dx, dy), frozen ones too, without changing velocities. Returns 0.
    int Translate(float dx, float dy);
    /// Places the body at rest with its reference mass at world (x, y), keeping its shape; nothing
    /// without masses. Returns 0.
    int Position(float x, float y);
    /// The reference mass's position; left untouched for a body without masses. Returns 0.
    int GetPosition(float& x, float& y) const;
    ///@{
    /// The reference mass's x or y, world units; 0 without masses.
    float GetX() const;
    float GetY() const;
    ///@}
    /// Turns the body about its reference mass so that its reference constraint points along `degrees`
    /// (relative to the present orientation without constraints); leaves it at rest. Returns 0.
    int Rotate(float degrees);
    /// The reference constraint's angle in degrees, -180 to 180; 0 without constraints.
    float GetRotation() const;
    /// Turns the body by `degrees` about its reference mass with TMass::Move, so the turn becomes
    /// rotation speed; frozen masses stay. Returns 0.
    int Spin(float degrees);
    /// Turns the body by `degrees` about its reference mass with TMass::Translate, frozen masses too,
    /// velocities unchanged. Returns 0.
    int Turn(float degrees);

    // Collision queries over the queued events of the last step; null instead of an empty list.

    /// Events between a mass of this body and a mass of the other, this body's masses outermost; null
    /// for a null body. Asked with this body itself, each contact between two of its masses comes twice.
    /// Like the other two queries it only looks: the events stay queued.
    TListRef<TColEventRef> CollideAdvBody(const TAdvBodyRef& other) const;
    /// Events between a mass of this body and the zone, in mass slot order; null for a null zone.
    TListRef<TColEventRef> CollideZone(const TZoneRef& zone) const;
    /// Events between a mass of this body and the world's bounds.
    TListRef<TColEventRef> CollideBounds() const;

    // Masses.

    /// Creates a mass in the next slot with TMass::Create's arguments and returns the slot (never
    /// fails). colGroup -1 gives this mass a group of its own, so masses of one body that are not to
    /// collide with each other share one group. The mass is simulated once a constraint uses it and
    /// the body is (re)activated.
    int MassAdd(float x, float y, float mass, float radius, float friction, int colGroup);
    /// Removes the rigs on the mass, then the constraints using it, then empties the slot. Returns 0.
    int MassRemove(int slot);
    /// The highest slot handed out (count - 1, empty slots included); -1 for an empty table.
    int MassMaxIndex() const { return mIndex - 1; }
    /// Exchanges two slots within the count; otherwise nothing. Returns 0.
    int MassSwapIndex(int a, int b);
    /// Moves the live masses to slots 0..k-1 in order and sets the count to k. Returns 0.
    int MassCleanIndex();
    /// 1 if the slot is within the count and holds a mass, else 0.
    int MassExists(int slot) const;
    /// The mass in the slot, or null.
    TMassRef MassGet(int slot) const;
    ///@{
    /// TMass::SetName, TMass::GetName on the slot's mass.
    int MassSetName(int slot, const std::string& n);
    std::string MassGetName(int slot) const;
    ///@}
    ///@{
    /// TMass::Move, TMass::Translate, TMass::Position on the slot's mass, world units.
    int MassMove(int slot, float dx, float dy);
    int MassTranslate(int slot, float dx, float dy);
    int MassPosition(int slot, float x, float y);
    ///@}
    ///@{
    /// The slot's mass's position (TMass::GetPositionX and the rest), world units.
    float MassGetPositionX(int slot) const;
    float MassGetPositionY(int slot) const;
    int MassGetPosition(int slot, float& x, float& y) const;
    float MassGetX(int slot) const;
    float MassGetY(int slot) const;
    ///@}
    ///@{
    /// TMass::SetMass, TMass::GetMass on the slot's mass: the weight that splits corrections.
    int MassSetMass(int slot, float m);
    float MassGetMass(int slot) const;
    ///@}
    ///@{
    /// TMass::SetRadius, TMass::GetRadius on the slot's mass, world units.
    int MassSetRadius(int slot, float r);
    float MassGetRadius(int slot) const;
    ///@}
    ///@{
    /// TMass::SetFriction (clamped to [0, 1]), TMass::GetFriction on the slot's mass.
    int MassSetFriction(int slot, float f);
    float MassGetFriction(int slot) const;
    ///@}
    ///@{
    /// TMass::Freeze, TMass::Thaw, TMass::IsFrozen on the slot's mass.
    int MassFreeze(int slot);
    int MassThaw(int slot);
    int MassIsFrozen(int slot) const;
    ///@}
    ///@{
    /// TMass::SetVelocity, TMass::AddVelocity on the slot's mass, world units per step.
    int MassSetVelocity(int slot, float vx, float vy);
    int MassAddVelocity(int slot, float vx, float vy);
    ///@}
    ///@{
    /// The slot's mass's velocity components (TMass::GetVelocityX and the rest), world units per step.
    float MassGetVelocityX(int slot) const;
    float MassGetVelocityY(int slot) const;
    float MassGetVX(int slot) const;
    float MassGetVY(int slot) const;
    ///@}
    /// The slot's mass's speed (TMass::GetVelocity), world units per step.
    float MassGetVelocity(int slot) const;
    ///@{
    /// TMass::GetColGroup, TMass::SetColGroup on the slot's mass (-1 takes a fresh group).
    int MassGetColGroup(int slot) const;
    int MassSetColGroup(int slot, int group);
    ///@}
    /// TMass::IsActive of the slot's mass: 1 while it is counted in the simulation.
    int MassIsActive(int slot) const;
    /// TMass::Draw on the slot's mass: a circle in the caller's colour.
    int MassDraw(int slot) const;
    /// Draws every live mass in slot order. Returns 0.
    int MassDrawAll() const;

    // Constraints.

    /// Connects every pair of live masses, in the order (0, 1), (0, 2), ... (1, 2), ..., rest lengths
    /// from their present distance. Returns 0.
    int ConAddAll(float stiffness);
    /// Creates a constraint between two different live mass slots with TConstraint::Create's rest
    /// length (0 or less: the present distance) and stiffness (0 to 1, stored unclamped); returns the
    /// slot, or -1. It joins the simulation at the next Activate.
    int ConAdd(int mass1, int mass2, float restLength, float stiffness);
    /// Removes the rigs turned by the constraint, frees it from this body, empties the slot. Returns 0.
    int ConRemove(int slot);
    /// The highest slot handed out (count - 1, empty slots included); -1 for an empty table.
    int ConMaxIndex() const { return cIndex - 1; }
    /// Exchanges two slots within the count; otherwise nothing. Returns 0.
    int ConSwapIndex(int a, int b);
    /// Moves the live constraints to slots 0..k-1 in order and sets the count to k. Returns 0.
    int ConCleanIndex();
    /// 1 if the slot is within the count and holds a constraint, else 0.
    int ConExists(int slot) const;
    /// The constraint in the slot, or null.
    TConstraintRef ConGet(int slot) const;
    ///@{
    /// TConstraint::SetName, TConstraint::GetName on the slot's constraint.
    int ConSetName(int slot, const std::string& n);
    std::string ConGetName(int slot) const;
    ///@}
    ///@{
    /// TConstraint::Assign, TConstraint::Free with this body on the slot's constraint: activates or
    /// deactivates that one constraint.
    int ConAssign(int slot);
    int ConFree(int slot);
    ///@}
    ///@{
    /// Slot of the constraint's first / second mass; 0 for an empty slot.
    int ConGetMass1(int slot) const;
    int ConGetMass2(int slot) const;
    ///@}
    ///@{
    /// TConstraint::SetRestLength, TConstraint::GetRestLength on the slot's constraint, world units.
    int ConSetRestLength(int slot, float length);
    float ConGetRestLength(int slot) const;
    ///@}
    ///@{
    /// TConstraint::SetStiffness (clamped to [0, 1]), TConstraint::GetStiffness on the slot's constraint.
    int ConSetStiffness(int slot, float s);
    float ConGetStiffness(int slot) const;
    ///@}
    /// TConstraint::GetAngle of the slot's constraint, degrees.
    float ConGetAngle(int slot) const;
    /// TConstraint::GetLength of the slot's constraint, world units.
    float ConGetLength(int slot) const;
    /// TConstraint::GetStress of the slot's constraint: length over rest length.
    float ConGetStress(int slot) const;
    /// TConstraint::Draw on the slot's constraint.
    int ConDraw(int slot) const;
    /// Draws every live constraint in slot order. Returns 0.
    int ConDrawAll() const;

    // Rigs.

    /// Creates a rig on a live image slot and a live mass slot; a negative constraint slot means none,
    /// any other takes that slot's constraint (none when empty). Returns the slot, or -1.
    int RigAdd(int image, int mass, int con, float angle);
    /// Empties the rig's slot. Returns 0.
    int RigRemove(int slot);
    /// The highest slot handed out (count - 1, empty slots included); -1 for an empty table.
    int RigMaxIndex() const { return rIndex - 1; }
    /// Exchanges two slots within the count (and so the drawing order); otherwise nothing. Returns 0.
    int RigSwapIndex(int a, int b);
    /// Moves the live rigs to slots 0..k-1 in order and sets the count to k. Returns 0.
    int RigCleanIndex();
    /// 1 if the slot is within the count and holds a rig, else 0.
    int RigExists(int slot) const;
    /// The rig in the slot, or null.
    TRigRef RigGet(int slot) const;
    ///@{
    /// TRig::SetName, TRig::GetName on the slot's rig.
    int RigSetName(int slot, const std::string& n);
    std::string RigGetName(int slot) const;
    ///@}
    /// Sets the rig's image when both slots are live.
    int RigSetImage(int slot, int image);
    /// The first image slot holding the rig's image; 0 for an empty rig slot, -1 when the image is not
    /// in the table.
    int RigGetImage(int slot) const;
    /// Sets the rig's mass when both slots are live.
    int RigSetMass(int slot, int mass);
    /// Slot of the rig's mass (the mass's `index`); 0 for an empty rig slot.
    int RigGetMass(int slot) const;
    /// -1 clears the constraint; any other value takes that slot's constraint (none when empty).
    int RigSetConstraint(int slot, int con);
    /// Slot of the rig's constraint, -1 without one; 0 for an empty rig slot.
    int RigGetConstraint(int slot) const;
    ///@{
    /// TRig::SetAngle, TRig::GetAngle on the slot's rig, degrees.
    int RigSetAngle(int slot, float degrees);
    float RigGetAngle(int slot) const;
    ///@}
    ///@{
    /// TRig::SetScale, TRig::GetScale on the slot's rig.
    int RigSetScale(int slot, float x, float y);
    int RigGetScale(int slot, float& x, float& y) const;
    ///@}
    ///@{
    /// TRig::SetColor, TRig::GetColor on the slot's rig: tint channels 0..255, clamped.
    int RigSetColor(int slot, int r, int g, int b);
    int RigGetColor(int slot, int& r, int& g, int& b) const;
    ///@}
    ///@{
    /// TRig::SetAlpha, TRig::GetAlpha on the slot's rig: opacity factor, clamped to [0, 1].
    int RigSetAlpha(int slot, float a);
    float RigGetAlpha(int slot) const;
    ///@}
    ///@{
    /// TRig::SetBlend, TRig::GetBlend on the slot's rig: a blend mode number.
    int RigSetBlend(int slot, int mode);
    int RigGetBlend(int slot) const;
    ///@}
    /// TRig::Draw on the slot's rig.
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
    /// The highest slot handed out (count - 1, empty slots included); -1 for an empty table.
    int ImageMaxIndex() const { return iIndex - 1; }
    /// Exchanges two slots within the count; otherwise nothing. Returns 0.
    int ImageSwapIndex(int a, int b);
    /// Puts a new image into a slot within the count and re-points the rigs that drew the old one.
    /// Returns 1, or 0 (nothing changed) for a null or unloadable image or a slot outside the count.
    int ImageReplace(int slot, const TImageRef& image);
    /// ImageReplace with the PNG file at the path, loaded with the default flags.
    int ImageReplace(int slot, const std::string& path);
    /// ImageReplace with one PNG data stream at the stream's position.
    int ImageReplace(int slot, TStream& stream);
    /// Moves the live images to slots 0..k-1 in order and sets the count to k. Returns 0.
    int ImageCleanIndex();
    /// 1 if the slot is within the count and holds an image, else 0.
    int ImageExists(int slot) const;
    /// The image in the slot, or null.
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

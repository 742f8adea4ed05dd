// physics/TMass.h: the particle: a point with radius, weight, friction and group, moved by Verlet steps.
#pragma once
#include "physics/TObject.h"
#include "platform/TList.h"

#include <cstdint>
#include <string>

namespace ravel
{

namespace detail
{
struct GridCell;
struct Internals;
} // namespace detail

/// A point mass: a circle of `radius` at (posX, posY) in world units. Its velocity is implicit:
/// pos - oldPos, world units per step.
///
/// Activation: `refCounter` counts its active owners and decides whether it is simulated; it is not
/// its memory lifetime. A mass from Create or Copy is inactive: no step moves or collides it until
/// an owner activates it. The usual owner is an active constraint (a constraint assigned to a TBody,
/// as TAdvBody::Activate does for all of its own), which adds a count to both its masses; AddRef
/// adds one directly. The count going from 0 to 1 puts the mass into the current world's massList and
/// grid, back to 0 takes it out. A count taken while no world exists, or in a world since replaced by
/// TPhysics::Create, leaves the mass counted (IsActive says 1) but outside the current world until it
/// is activated again: the next AddRef brings it in (and counts once more, as always), and so does the
/// next TConstraint::Assign or TAdvBody::Activate of a constraint that uses it (which counts nothing
/// twice). Masses are made only by Create and Copy, which own them through a std::shared_ptr.
///
/// Each mass starts on a cache line, so that the fields the step reads first (position, old
/// position, weight, radius, group, friction, frozen) share one line.
class alignas(64) TMass : public TObject
{
    struct Key
    {
        explicit Key() = default;
    };

  public:
    /// New inactive mass named "Mass", at rest at (x, y) in world units; never null. `mass` is the weight
    /// (see SetMass), `radius` the collision radius in world units, both stored unchecked; friction is
    /// clamped to [0, 1]. colGroup: 0 collides with nothing, masses sharing a non-zero group pass
    /// through each other, -1 takes a fresh automatic group (-2, -3, ...).
    static TMassRef Create(float x, float y, float mass, float radius, float friction, int colGroup);
    /// For Create and Copy only: the key is theirs alone.
    explicit TMass(Key) {}
    /// Takes the mass out of its grid cell. Should a step's event not yet asked for still name the mass
    /// (only a mass taken out of massList by hand can be destroyed then), that event names null in its
    /// place; see TColEvent.
    ~TMass() override;
    ///@{
    /// Not copyable: Copy makes an inactive copy owned by a handle.
    TMass(const TMass&) = delete;
    TMass& operator=(const TMass&) = delete;
    ///@}

    /// An inactive copy with the same name, settings, group, position, velocity, frozen state and index.
    TMassRef Copy() const;
    ///@{
    /// A free label, "Mass" from Create; SetName returns 0.
    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    ///@}
    /// Adds (dx, dy) world units to the position and so to the velocity; a frozen mass stays. Returns 0.
    int Move(float dx, float dy);
    /// Moves position and old position together by (dx, dy), frozen or not: the velocity is kept.
    /// Returns 0.
    int Translate(float dx, float dy);
    /// Places the mass at rest at (x, y), frozen or not. Returns 0.
    int Position(float x, float y);
    ///@{
    /// The position, world units. GetPosition writes both and returns 0; GetX, GetY are GetPositionX,
    /// GetPositionY.
    float GetPositionX() const { return posX; }
    float GetPositionY() const { return posY; }
    int GetPosition(float& x, float& y) const;
    float GetX() const { return posX; }
    float GetY() const { return posY; }
    ///@}
    /// The weight, unclamped; it only splits position corrections between two masses (the heavier
    /// moves less), gravity and integration ignore it. A weight of 0 yields wholly to a weighted
    /// partner; two free masses whose weights sum to 0 share evenly. Expected >= 0. Returns 0.
    int SetMass(float m);
    /// The weight (SetMass); 0 from the default constructor.
    float GetMass() const { return mass; }
    /// The collision radius against bounds, zones and other masses, world units, unclamped (expected
    /// >= 0); also the radius Draw uses. Returns 0.
    int SetRadius(float r);
    /// The collision radius, world units.
    float GetRadius() const { return radius; }
    /// Surface friction, clamped to [0, 1] (NaN gives 0). At a contact the sliding speed drops by up to
    /// the depth times the mean friction of the two sides; 0 slides freely. Returns 0.
    int SetFriction(float f);
    /// Surface friction, 0 to 1.
    float GetFriction() const { return friction; }
    /// Zeroes the velocity and pins the mass: not integrated, not moved by constraints, mass contacts,
    /// Move or the velocity setters, not collided with zones, still kept inside the bounds. Returns 0.
    int Freeze();
    /// Unpins the mass, position and velocity unchanged. Returns 0.
    int Thaw();
    /// 1 while frozen, else 0.
    int IsFrozen() const { return frozen; }
    /// Sets the velocity, world units per step; a frozen mass is left alone. Returns 0.
    int SetVelocity(float vx, float vy);
    /// Adds to the velocity, world units per step; a frozen mass is left alone. Returns 0.
    int AddVelocity(float vx, float vy);
    ///@{
    /// A velocity component, world units per step: position minus previous position. GetVX and GetVY
    /// are the same as GetVelocityX and GetVelocityY.
    float GetVelocityX() const { return posX - oldPosX; }
    float GetVelocityY() const { return posY - oldPosY; }
    float GetVX() const { return posX - oldPosX; }
    float GetVY() const { return posY - oldPosY; }
    ///@}
    /// Speed, world units per step.
    float GetVelocity() const;
    /// The group as an integer, truncated toward zero; a float beyond the int range saturates, NaN
    /// gives 0.
    int GetColGroup() const
    {
        if (!(colGroup == colGroup))
            return 0;
        if (colGroup >= 2147483648.0f)
            return 2147483647;
        if (colGroup <= -2147483648.0f)
            return -2147483647 - 1;
        return static_cast<int>(colGroup);
    }
    /// The collision group: 0 collides with nothing, two masses (or a mass and a zone) of the same
    /// non-zero group never collide, -1 takes a fresh automatic group; any other value is stored.
    /// Returns 0.
    int SetColGroup(int group);
    /// 1 while the mass has active owners (refCounter > 0), else 0. See the class notes: a count taken
    /// with no world, or in a world since replaced, reads 1 while the mass waits outside the current
    /// world for its next activation.
    int IsActive() const { return refCounter > 0 ? 1 : 0; }
    /// The slot of the mass in the indexed body that holds it; -1 for a mass from Create.
    int GetIndex() const { return index; }
    /// Draws the mass as a circle of its radius in world space, in the caller's colour, alpha and
    /// blend; the caller's rotation is ignored. Returns 0.
    int Draw() const;
    /// Adds an active owner; the first one puts the mass into the current world's massList and grid
    /// (nothing to join when there is no world), and so does any one while the mass is counted but
    /// outside the current world. Constraints call it; a program may too, to simulate a mass without
    /// constraints, and then owes one SubRef. Returns 0.
    int AddRef();
    /// Re-files the mass in the grid cell of its current position (clamped into the used block); the
    /// step calls it. Returns 0.
    int AddToGrid();
    /// Removes an active owner; the count is not clamped. At 0 the mass leaves massList and the grid.
    /// Harmless for a mass whose world has since been replaced or freed. Returns 0.
    int SubRef();
    /// Separates, brakes and reports an overlap with another mass, as the step does for each candidate
    /// pair (it tests no groups). Two free masses whose weights sum to zero share the correction
    /// evenly. Returns 0.
    int Collide(TMass& other);

    /// TColEvent::MASS_MASS: a contact with a mass is a mass-mass event.
    int EventKind() const override;
    /// This mass.
    TMass* AsMass() override { return this; }

    ///@{
    /// Position, world units.
    float posX = 0.0f;
    float posY = 0.0f;
    ///@}
    ///@{
    /// Position one step ago, world units: the velocity is pos - oldPos.
    float oldPosX = 0.0f;
    float oldPosY = 0.0f;
    ///@}
    float mass = 0.0f;     ///< weight, used only to split corrections
    float radius = 0.0f;   ///< world units
    float colGroup = 0.0f; ///< whole number; 0 collides with nothing
    float friction = 0.0f; ///< [0, 1]
    /// 1 = pinned (Freeze).
    int frozen = 0;
    TLink link; ///< node in massList while active; does not own

  private:
    // The grid cell it is filed in, null while filed nowhere; the cell does not own it.
    detail::GridCell* cell_ = nullptr;

  public:
    ///@{
    /// The grid cell (column, row) the mass was last filed in.
    int gridx = 0;
    int gridy = 0;
    ///@}
    int refCounter = 0; ///< active owners
    int index = -1;     ///< slot in the indexed body that holds it

    std::string name; ///< free label; kept after the fields the step reads

  private:
    friend struct detail::Internals;

    // The queue's pair index keeps the first few pairs of each mass in the mass itself, which the step
    // has just touched, and only the rest in its shared table; an entry gives the index of the pair's
    // record in the queue. Entries of an earlier step are recognised by their generation, so flushing
    // the queue never visits the masses. `named` is the last generation in which a record without an
    // event named the mass: only such a mass must be kept for the queue when a registry lets go of it.
    struct EventSlots
    {
        static constexpr int kSize = 4;
        std::uint64_t gen = 0;   // generation of the queue the entries belong to
        std::uint64_t named = 0; // generation of the queue in which a plain record named the mass
        int count = 0;           // entries in use in that generation
        const void* other[kSize] = {};
        int record[kSize] = {};
    };

    bool InWorld() const;
    void Join();
    void Rejoin();
    void Unfile();

    std::uint32_t joined_ = 0; // generation of the registries it joined last
    EventSlots events_;        // this step's events of pairs kept by this mass
};

} // namespace ravel

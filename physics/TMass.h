// physics/TMass.h: the particle: a point with radius, weight, friction and group, moved by Verlet steps.
#pragma once
#include "physics/TObject.h"
#include "physics/detail/EventCache.h"
#include "physics/detail/Grid.h"
#include "platform/TList.h"

#include <string>

namespace ravel
{

/// A point mass. Its velocity is implicit: pos - oldPos, world units per step. `refCounter` counts its
/// active owners and decides whether it is simulated; it is not its memory lifetime.
/// Each mass starts on a cache line, so that the fields the step reads first (position, old
/// position, weight, radius, group, friction, frozen) share one line.
class alignas(64) TMass : public TObject
{
  public:
    /// New inactive mass at rest at (x, y); friction clamped to [0, 1]; colGroup -1 takes a fresh group.
    static TMassRef Create(float x, float y, float mass, float radius, float friction, int colGroup);
    ~TMass() override;

    /// An inactive copy with the same settings, position, velocity and index.
    TMassRef Copy() const;
    int SetName(const std::string& n);
    std::string GetName() const { return name; }
    /// Adds (dx, dy) to the position and so to the velocity; not for a frozen mass.
    int Move(float dx, float dy);
    /// Moves position and old position together, frozen or not.
    int Translate(float dx, float dy);
    /// Places the mass at rest at (x, y), frozen or not.
    int Position(float x, float y);
    float GetPositionX() const { return posX; }
    float GetPositionY() const { return posY; }
    int GetPosition(float& x, float& y) const;
    float GetX() const { return posX; }
    float GetY() const { return posY; }
    int SetMass(float m);
    float GetMass() const { return mass; }
    int SetRadius(float r);
    float GetRadius() const { return radius; }
    /// Clamped to [0, 1].
    int SetFriction(float f);
    float GetFriction() const { return friction; }
    /// Zeroes the velocity and pins the mass.
    int Freeze();
    int Thaw();
    int IsFrozen() const { return frozen; }
    /// Not for a frozen mass.
    int SetVelocity(float vx, float vy);
    int AddVelocity(float vx, float vy);
    float GetVelocityX() const { return posX - oldPosX; }
    float GetVelocityY() const { return posY - oldPosY; }
    float GetVX() const { return posX - oldPosX; }
    float GetVY() const { return posY - oldPosY; }
    /// Speed, world units per step.
    float GetVelocity() const;
    /// The group as an integer, truncated toward zero; a float beyond the int range saturates.
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
    /// -1 takes a fresh automatic group.
    int SetColGroup(int group);
    int IsActive() const { return refCounter > 0 ? 1 : 0; }
    int GetIndex() const { return index; }
    /// Draws the mass as a circle in world space, in the caller's colour.
    int Draw() const;
    /// Adds an active owner; the first one puts the mass into massList and the grid.
    int AddRef();
    /// Re-files the mass in the grid cell of its current position (clamped into the used block).
    int AddToGrid();
    /// Removes an active owner; the count is not clamped. At 0 the mass leaves massList and the grid.
    /// Harmless for a mass whose world has since been replaced or freed.
    int SubRef();
    /// Separates, brakes and reports an overlap with another mass. Two free masses whose weights sum
    /// to zero share the correction evenly.
    int Collide(TMass& other);

    int EventKind() const override;
    TMass* AsMass() override { return this; }

    /// Takes the mass out of its grid cell, if it is filed in one.
    void Unfile();

    float posX = 0.0f;
    float posY = 0.0f;
    float oldPosX = 0.0f;
    float oldPosY = 0.0f;
    float mass = 0.0f;     ///< weight, used only to split corrections
    float radius = 0.0f;   ///< world units
    float colGroup = 0.0f; ///< whole number; 0 collides with nothing
    float friction = 0.0f; ///< [0, 1]
    int frozen = 0;
    TLink link;                ///< node in massList while active; does not own
    detail::GridLink gridlink; ///< place in its grid cell; does not own
    int gridx = 0;
    int gridy = 0;
    int refCounter = 0; ///< active owners
    int index = -1;     ///< slot in the indexed body that holds it

    std::string name;              ///< free label; kept after the fields the step reads
    detail::MassEventCache events; ///< this step's events of pairs kept by this mass
};

} // namespace ravel

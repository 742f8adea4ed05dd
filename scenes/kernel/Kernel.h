// scenes/kernel/Kernel.h: the step's algorithm on flat arrays, the yardstick for the library's speed.
//
// Same pass order and the same float arithmetic as the library, on structure-of-arrays storage with
// indices instead of objects, and the same collision events (one per pair, merged as MODE_UPDATE
// merges them) in a flat table. It has no zones, hooks or queue modes: the reference scenes use none.
#pragma once
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TPhysics.h"
#include "physics/detail/Contact.h"
#include "physics/detail/Grid.h"
#include "platform/DegMath.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ravel::scenes
{

class Kernel
{
  public:
    static constexpr int kWorld = -1; ///< the second party of a bounds event

    struct Event
    {
        int a = 0, b = 0; ///< mass indices; b is kWorld for the bounds
        float x = 0.0f, y = 0.0f, force = 0.0f;
    };

    /// Copies the current world: its settings, its active masses and constraints in list order.
    static Kernel FromWorld()
    {
        Kernel k;
        const TPhysics& w = *world;
        k.minX_ = w.boundsMinX;
        k.minY_ = w.boundsMinY;
        k.maxX_ = w.boundsMaxX;
        k.maxY_ = w.boundsMaxY;
        k.friction_ = w.friction;
        k.gravityX_ = w.gravityX;
        k.gravityY_ = w.gravityY;
        k.passes_ = w.i;
        k.gridOn_ = w.gridon;
        k.gridSize_ = w.gridsize;
        k.ratioX_ = w.ratiox;
        k.ratioY_ = w.ratioy;
        std::unordered_map<const TMass*, int> index;
        for (const TMassRef& m : *massList)
        {
            index[m.get()] = static_cast<int>(k.x_.size());
            k.x_.push_back(m->posX);
            k.y_.push_back(m->posY);
            k.ox_.push_back(m->oldPosX);
            k.oy_.push_back(m->oldPosY);
            k.weight_.push_back(m->mass);
            k.radius_.push_back(m->radius);
            k.group_.push_back(m->colGroup);
            k.fric_.push_back(m->friction);
            k.frozen_.push_back(static_cast<unsigned char>(m->frozen != 0));
        }
        for (const TConstraintRef& c : *constraintList)
        {
            k.c1_.push_back(index.at(c->m[0].get()));
            k.c2_.push_back(index.at(c->m[1].get()));
            k.rest_.push_back(c->restLength);
            k.stiff_.push_back(c->stiffness);
        }
        for (float g : k.group_)
            k.collidable_ = k.collidable_ || g != 0.0f;
        const std::size_t n = k.x_.size();
        k.gx_.assign(n, 0);
        k.gy_.assign(n, 0);
        k.cellOf_.assign(n, -1);
        k.cells_.assign(TPhysics::MAX_GRID * TPhysics::MAX_GRID, Cell{});
        for (std::size_t i = 0; i < n; ++i)
            k.File(static_cast<int>(i));
        return k;
    }

    void Step()
    {
        const int n = static_cast<int>(x_.size());
        for (int i = 0; i < n; ++i)
        {
            if (!frozen_[i])
            {
                float vx = x_[i] - ox_[i];
                float vy = y_[i] - oy_[i];
                ox_[i] = x_[i];
                oy_[i] = y_[i];
                x_[i] = x_[i] + vx + gravityX_;
                y_[i] = y_[i] + vy + gravityY_;
            }
            File(i);
        }
        ClearEvents();
        for (int pass = 0; pass < passes_; ++pass)
        {
            const int nc = static_cast<int>(c1_.size());
            for (int c = 0; c < nc; ++c)
                Satisfy(c);
            if (gridOn_ && collidable_)
                TakeBounds();
            for (int s = 0; s < n; ++s)
            {
                Bounds(s);
                if (gridOn_)
                {
                    File(s);
                    if (group_[s] == 0.0f)
                        continue;
                    for (int gx = gx_[s] - 1; gx <= gx_[s] + 1; ++gx)
                    {
                        if (gx < 0 || gx >= gridSize_)
                            continue;
                        for (int gy = gy_[s] - 1; gy <= gy_[s] + 1; ++gy)
                        {
                            if (gy < 0 || gy >= gridSize_)
                                continue;
                            Cell& cell = cells_[gx * TPhysics::MAX_GRID + gy];
                            if (cell.bounds.Apart(x_[s], y_[s], radius_[s]))
                                continue;
                            Walk(s, cell);
                        }
                    }
                }
                else if (group_[s] != 0.0f)
                {
                    for (int o = s + 1; o < n; ++o)
                        if (Groups(group_[s], group_[o]))
                            Collide(s, o);
                }
            }
        }
    }

    int Count() const { return static_cast<int>(x_.size()); }
    float X(int i) const { return x_[i]; }
    float Y(int i) const { return y_[i]; }
    float OldX(int i) const { return ox_[i]; }
    float OldY(int i) const { return oy_[i]; }
    /// This step's events in the order their pairs first met.
    const std::vector<Event>& Events() const { return events_; }

  private:
    static bool Groups(float a, float b) { return a != 0.0f && b != 0.0f && a != b; }

    static int CellOf(float c, float ratio, int last)
    {
        float f = std::floor(c * ratio);
        if (!(f > 0.0f))
            return 0;
        if (f > static_cast<float>(last))
            return last;
        return static_cast<int>(f);
    }

    // A cell's masses in filing order, live from `begin`: re-filing the oldest mass of a cell, the
    // common case in a pass, steps `begin` instead of moving the others. Beside each mass it keeps a
    // copy of its position, radius and group, so that the walk rejects candidates without gathering
    // from the mass arrays; its bounds let a walk skip it when it is out of reach. Both as the
    // library's cells do.
    struct Cell
    {
        std::vector<int> slots;
        std::vector<detail::SlotCopy> copies;
        std::size_t begin = 0;
        detail::CellBounds bounds;
    };

    detail::SlotCopy CopyOf(int i) const { return detail::SlotCopy{x_[i], y_[i], radius_[i], group_[i]}; }

    // Collides s with the masses of the cell in filing order. A candidate is rejected from its copy
    // (box test, group rule); a pair that passes is collided, and both copies and bounds follow the
    // masses. s was filed last in its own cell just before.
    void Walk(int s, Cell& cell)
    {
        const std::size_t n = cell.slots.size();
        const float radius = radius_[s], group = group_[s];
        detail::SlotCopy* copies = cell.copies.data();
        for (std::size_t k = detail::NextReached(copies, cell.begin, n, x_[s], y_[s], radius, group); k < n;
             k = detail::NextReached(copies, k + 1, n, x_[s], y_[s], radius, group))
        {
            int o = cell.slots[k];
            Collide(s, o);
            cell.bounds.Cover(x_[o], y_[o]);
            copies[k].x = x_[o];
            copies[k].y = y_[o];
            Cell& own = cells_[cellOf_[s]];
            own.bounds.Cover(x_[s], y_[s]);
            own.copies.back().x = x_[s];
            own.copies.back().y = y_[s];
        }
    }

    void TakeBounds()
    {
        for (int gx = 0; gx < gridSize_; ++gx)
            for (int gy = 0; gy < gridSize_; ++gy)
            {
                Cell& cell = cells_[gx * TPhysics::MAX_GRID + gy];
                cell.bounds.Clear();
                for (std::size_t k = cell.begin; k < cell.slots.size(); ++k)
                {
                    int i = cell.slots[k];
                    cell.copies[k] = CopyOf(i);
                    cell.bounds.Cover(x_[i], y_[i], radius_[i]);
                }
            }
    }

    void File(int i)
    {
        gx_[i] = CellOf(x_[i], ratioX_, gridSize_ - 1);
        gy_[i] = CellOf(y_[i], ratioY_, gridSize_ - 1);
        int c = gx_[i] * TPhysics::MAX_GRID + gy_[i];
        cells_[c].bounds.Cover(x_[i], y_[i], radius_[i]);
        int old = cellOf_[i];
        if (old == c && cells_[c].slots.back() == i)
        {
            cells_[c].copies.back() = CopyOf(i); // already last in its cell
            return;
        }
        if (old >= 0)
            Unfile(cells_[old], i);
        cells_[c].slots.push_back(i);
        cells_[c].copies.push_back(CopyOf(i));
        cellOf_[i] = c;
    }

    static void Unfile(Cell& cell, int i)
    {
        std::size_t k = cell.begin;
        while (cell.slots[k] != i)
            ++k;
        if (k > cell.begin)
        {
            cell.slots.erase(cell.slots.begin() + static_cast<std::ptrdiff_t>(k));
            cell.copies.erase(cell.copies.begin() + static_cast<std::ptrdiff_t>(k));
            return;
        }
        if (++cell.begin == cell.slots.size())
        {
            cell.slots.clear();
            cell.copies.clear();
            cell.begin = 0;
        }
        else if (cell.begin >= 16 && cell.begin * 2 >= cell.slots.size())
        {
            const auto dead = static_cast<std::ptrdiff_t>(cell.begin);
            cell.slots.erase(cell.slots.begin(), cell.slots.begin() + dead);
            cell.copies.erase(cell.copies.begin(), cell.copies.begin() + dead);
            cell.begin = 0;
        }
    }

    void Satisfy(int c)
    {
        int a = c1_[c], b = c2_[c];
        if (frozen_[a] && frozen_[b])
            return;
        float dx = x_[a] - x_[b];
        float dy = y_[a] - y_[b];
        float len = detail::FloorDistance(std::sqrt(dx * dx + dy * dy));
        float ux = dx / len;
        float uy = dy / len;
        float corr = (len - rest_[c]) * stiff_[c];
        if (frozen_[a])
        {
            x_[b] = x_[b] + ux * corr;
            y_[b] = y_[b] + uy * corr;
        }
        else if (frozen_[b])
        {
            x_[a] = x_[a] - ux * corr;
            y_[a] = y_[a] - uy * corr;
        }
        else
        {
            float total = weight_[a] + weight_[b];
            float shareA = total != 0.0f ? weight_[b] / total : 0.5f;
            float shareB = total != 0.0f ? weight_[a] / total : 0.5f;
            x_[a] = x_[a] - ux * corr * shareA;
            y_[a] = y_[a] - uy * corr * shareA;
            x_[b] = x_[b] + ux * corr * shareB;
            y_[b] = y_[b] + uy * corr * shareB;
        }
    }

    static void WallFriction(float pos, float& old, float impulse)
    {
        float w = pos - old;
        if (impulse > std::fabs(w))
            old = pos;
        else if (w > 0.0f)
            old = old + impulse;
        else if (w < 0.0f)
            old = old - impulse;
    }

    void Bounds(int s)
    {
        float lo = minX_ + radius_[s];
        float hi = maxX_ - radius_[s];
        if (x_[s] < lo)
        {
            float depth = lo - x_[s];
            x_[s] = lo;
            Report(s, kWorld, minX_, y_[s], depth);
            WallFriction(y_[s], oy_[s], depth * (fric_[s] + friction_) * 0.5f);
        }
        else if (x_[s] > hi)
        {
            float depth = x_[s] - hi;
            x_[s] = hi;
            Report(s, kWorld, maxX_, y_[s], depth);
            WallFriction(y_[s], oy_[s], depth * (fric_[s] + friction_) * 0.5f);
        }
        lo = minY_ + radius_[s];
        hi = maxY_ - radius_[s];
        if (y_[s] < lo)
        {
            float depth = lo - y_[s];
            y_[s] = lo;
            Report(s, kWorld, x_[s], minY_, depth);
            WallFriction(x_[s], ox_[s], depth * (fric_[s] + friction_) * 0.5f);
        }
        else if (y_[s] > hi)
        {
            float depth = y_[s] - hi;
            y_[s] = hi;
            Report(s, kWorld, x_[s], maxY_, depth);
            WallFriction(x_[s], ox_[s], depth * (fric_[s] + friction_) * 0.5f);
        }
    }

    void Tangential(int m, float nx, float ny, float& tx, float& ty) const
    {
        float vx = x_[m] - ox_[m];
        float vy = y_[m] - oy_[m];
        float vn = vx * nx + vy * ny;
        tx = vx - nx * vn;
        ty = vy - ny * vn;
    }

    void BrakeOne(int m, float nx, float ny, float budget)
    {
        float tx, ty;
        Tangential(m, nx, ny, tx, ty);
        float t = std::sqrt(tx * tx + ty * ty);
        if (budget >= t)
        {
            ox_[m] = ox_[m] + tx;
            oy_[m] = oy_[m] + ty;
        }
        else
        {
            float k = budget / t;
            ox_[m] = ox_[m] + tx * k;
            oy_[m] = oy_[m] + ty * k;
        }
    }

    void Collide(int a, int b)
    {
        if (frozen_[a] && frozen_[b])
            return;
        float r = radius_[a] + radius_[b];
        if (std::fabs(x_[b] - x_[a]) > r || std::fabs(y_[b] - y_[a]) > r)
            return;
        float dx = x_[a] - x_[b];
        float dy = y_[a] - y_[b];
        float dist = detail::FloorDistance(std::sqrt(dx * dx + dy * dy));
        float nx = dx / dist;
        float ny = dy / dist;
        float pen = dist - r;
        if (pen >= 0.0f)
            return;
        float sx = nx * pen;
        float sy = ny * pen;
        float budget = -pen * (fric_[a] + fric_[b]) * 0.5f;
        if (frozen_[b])
        {
            x_[a] = x_[a] - sx;
            y_[a] = y_[a] - sy;
            BrakeOne(a, nx, ny, budget);
        }
        else if (frozen_[a])
        {
            x_[b] = x_[b] + sx;
            y_[b] = y_[b] + sy;
            BrakeOne(b, nx, ny, budget);
        }
        else
        {
            float total = weight_[a] + weight_[b];
            float shareA = total != 0.0f ? weight_[b] / total : 0.5f;
            float shareB = total != 0.0f ? weight_[a] / total : 0.5f;
            x_[a] = x_[a] - sx * shareA;
            y_[a] = y_[a] - sy * shareA;
            x_[b] = x_[b] + sx * shareB;
            y_[b] = y_[b] + sy * shareB;
            float tax, tay, tbx, tby;
            Tangential(a, nx, ny, tax, tay);
            Tangential(b, nx, ny, tbx, tby);
            float hx = tax - (tax + tbx) * 0.5f;
            float hy = tay - (tay + tby) * 0.5f;
            float h = std::sqrt(hx * hx + hy * hy);
            if (budget >= h)
            {
                ox_[a] = ox_[a] + hx;
                oy_[a] = oy_[a] + hy;
                ox_[b] = ox_[b] - hx;
                oy_[b] = oy_[b] - hy;
            }
            else
            {
                float k = budget / h;
                ox_[a] = ox_[a] + hx * k;
                oy_[a] = oy_[a] + hy * k;
                ox_[b] = ox_[b] - hx * k;
                oy_[b] = oy_[b] - hy * k;
            }
        }
        Report(a, b, (x_[a] + x_[b]) * 0.5f, (y_[a] + y_[b]) * 0.5f, -pen);
    }

    // The pair table: open addressing over an unordered pair key, cleared by generation.
    struct Slot
    {
        std::uint64_t key = 0;
        int event = 0;
        std::uint32_t gen = 0;
    };

    static std::uint64_t Key(int a, int b)
    {
        std::uint32_t ua = static_cast<std::uint32_t>(a), ub = static_cast<std::uint32_t>(b);
        if (ub < ua)
            std::swap(ua, ub);
        return (static_cast<std::uint64_t>(ua) << 32) | ub;
    }

    static std::size_t Hash(std::uint64_t key)
    {
        key ^= key >> 31;
        key *= 0x9E3779B97F4A7C15ull;
        key ^= key >> 29;
        return static_cast<std::size_t>(key);
    }

    void ClearEvents()
    {
        events_.clear();
        if (++gen_ == 0)
        {
            for (Slot& s : slots_)
                s.gen = 0;
            gen_ = 1;
        }
    }

    void Report(int a, int b, float x, float y, float force)
    {
        if ((events_.size() + 1) * 2 > slots_.size())
            Grow();
        std::uint64_t key = Key(a, b);
        std::size_t mask = slots_.size() - 1;
        for (std::size_t k = Hash(key) & mask;; k = (k + 1) & mask)
        {
            Slot& s = slots_[k];
            if (s.gen != gen_)
            {
                s = Slot{key, static_cast<int>(events_.size()), gen_};
                events_.push_back(Event{a, b, x, y, force});
                return;
            }
            if (s.key == key)
            {
                Event& e = events_[s.event];
                e.x = x;
                e.y = y;
                e.force = e.force + force;
                return;
            }
        }
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        std::size_t mask = slots_.size() - 1;
        for (const Slot& s : old)
            if (s.gen == gen_)
            {
                std::size_t k = Hash(s.key) & mask;
                while (slots_[k].gen == gen_)
                    k = (k + 1) & mask;
                slots_[k] = s;
            }
    }

    float minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0, friction_ = 0, gravityX_ = 0, gravityY_ = 0;
    int passes_ = 0, gridOn_ = 0, gridSize_ = 8;
    bool collidable_ = false; ///< any mass with a group other than 0
    float ratioX_ = 0, ratioY_ = 0;
    std::vector<float> x_, y_, ox_, oy_, weight_, radius_, group_, fric_;
    std::vector<unsigned char> frozen_;
    std::vector<int> c1_, c2_;
    std::vector<float> rest_, stiff_;
    std::vector<int> gx_, gy_, cellOf_;
    std::vector<Cell> cells_;
    std::vector<Event> events_;
    std::vector<Slot> slots_;
    std::uint32_t gen_ = 1;
};

} // namespace ravel::scenes

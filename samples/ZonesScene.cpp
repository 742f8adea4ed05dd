// samples/ZonesScene.cpp: the four zone styles side by side with masses poured over them, and a pad
// with a collision response of its own that bounces masses back.
#include "samples/Registry.h"
#include "samples/SharedScenes.h"

#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TQuadTree.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"

#include <memory>

namespace ravel::samples
{

namespace
{
constexpr float kWidth = 1600.0f, kHeight = 1000.0f;
constexpr float kRadius = 7.0f;
constexpr int kColumns = 4;
constexpr int kPerColumn = 90; // masses poured into a column before the oldest is poured again
constexpr int kPourEvery = 5;  // steps between two masses of a column
constexpr int kTrapped = 12;   // masses that start inside the loop, which keeps nearly all of them

// Every point of a regular polygon, or of a star when `inner` differs from `outer`.
std::vector<float> Ring(int points, float outer, float inner, float turn)
{
    std::vector<float> xy;
    int n = inner == outer ? points : points * 2;
    for (int k = 0; k < n; ++k)
    {
        float r = k % 2 == 1 && inner != outer ? inner : outer;
        float a = turn + static_cast<float>(k) * (360.0f / static_cast<float>(n));
        xy.push_back(CosDeg(a) * r);
        xy.push_back(SinDeg(a) * r);
    }
    return xy;
}

// Whether the zone's outline, closed, has the point inside.
bool Inside(const TZone& zone, float x, float y)
{
    std::vector<float> xy = zone.GetArea();
    int sum = QuadrantWinding(xy.data(), static_cast<int>(xy.size()), x, y, zone.GetX(), zone.GetY());
    return sum == 4 || sum == -4;
}

class TZonesScene : public TScene
{
  public:
    std::string Name() const override { return "Zones"; }
    std::string About() const override
    {
        return "LINE, LOOP, FILL and HOLE zones under a rain of masses; the pad below bounces them back.";
    }

    void Build() override
    {
        TPhysics::Create(kWidth, kHeight, 0.12f, 0.0f, 3);
        TPhysics::SetGridSize(32);
        TPhysics::UseShiftedGrid(1);
        TColEvent::SetMode(TColEvent::MODE_UPDATE);

        // A zigzag to slide down, a closed hexagon that holds masses in and keeps others out, a solid
        // star, and the free region of the whole scene as a HOLE: its floor ends in a well on the right.
        line_ = TZone::Create({-170.0f, -130.0f, 40.0f, -60.0f, -60.0f, 40.0f, 170.0f, 120.0f}, TZone::LINE,
                              0.3f, -1, 5);
        line_->Position(200.0f, 470.0f);
        loop_ = TZone::Create(Ring(6, 140.0f, 140.0f, 30.0f), TZone::LOOP, 0.3f, -1, 5);
        loop_->Position(600.0f, 470.0f);
        fill_ = TZone::Create(Ring(5, 150.0f, 65.0f, -90.0f), TZone::FILL, 0.3f, -1, 5);
        fill_->Position(1000.0f, 480.0f);
        fill_->SetBlend(ALPHABLEND);
        fill_->SetAlpha(0.35f);
        hole_ = TZone::Create({20.0f, 20.0f, 1580.0f, 20.0f, 1580.0f, 700.0f, 1520.0f, 980.0f, 1280.0f,
                               980.0f, 1220.0f, 700.0f, 1200.0f, 880.0f, 20.0f, 880.0f},
                              TZone::HOLE, 0.3f, -1, 6);
        // The pad's own response: the default push out, then the speed it came in with sent back out.
        bounces_ = std::make_shared<int>(0);
        pad_ = TZone::Create({-230.0f, 0.0f, 230.0f, 0.0f}, TZone::LINE, 0.0f, -1, 4);
        pad_->Position(600.0f, 820.0f);
        pad_->SetColor(255, 120, 200);
        std::shared_ptr<int> bounces = bounces_;
        pad_->OverrideCollision(
            [bounces](const TZoneRef& zone, const TMassRef& mass, float nx, float ny, float depth) {
                float in = mass->GetVX() * nx + mass->GetVY() * ny;
                TZone::ColDefault(zone, mass, nx, ny, depth);
                if (in < -0.5f)
                {
                    float out = mass->GetVX() * nx + mass->GetVY() * ny;
                    float wanted = -in * 0.92f;
                    mass->AddVelocity(nx * (wanted - out), ny * (wanted - out));
                    ++*bounces;
                }
                return 0;
            });

        masses_.assign(kColumns, {});
        next_.assign(kColumns, 0);
        trapped_.clear();
        for (int k = 0; k < kTrapped; ++k)
        {
            TMassRef m =
                TMass::Create(600.0f + static_cast<float>(k % 4 - 2) * 20.0f + 10.0f,
                              470.0f + static_cast<float>(k / 4 - 1) * 20.0f, 1.0f, kRadius, 0.3f, -1);
            m->AddRef();
            trapped_.push_back(m);
        }
        steps_ = 0;
    }

    void Step() override
    {
        static const float kPourX[kColumns] = {80.0f, 600.0f, 1000.0f, 1400.0f};
        if (steps_ % kPourEvery == 0)
            for (int c = 0; c < kColumns; ++c)
                Pour(c, kPourX[c] + jitter_.Next(12.0f), 60.0f);
        ++steps_;
        TPhysics::Update();
    }

    void Contacts(const std::vector<TContact>& events, const std::vector<TContact>&) override
    {
        for (int& n : zoneEvents_)
            n = 0;
        const TZone* zones[5] = {line_.get(), loop_.get(), fill_.get(), hole_.get(), pad_.get()};
        for (const TContact& e : events)
            for (int z = 0; z < 5; ++z)
                zoneEvents_[z] += e.kind == TColEvent::MASS_ZONE && e.other == zones[z] ? 1 : 0;
    }

    void Draw(const TShow& show) override
    {
        DrawWorld(show);
        SetColor(255, 255, 255);
        DrawWorldLabel("LINE", 200.0f, 290.0f);
        DrawWorldLabel("LOOP", 600.0f, 300.0f);
        DrawWorldLabel("FILL", 1000.0f, 300.0f);
        DrawWorldLabel("HOLE: the free region", 1400.0f, 640.0f);
        DrawWorldLabel("pad with its own response: bouncy", 600.0f, 845.0f);
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        static const char* const kNames[5] = {"LINE", "LOOP", "FILL", "HOLE", "Pad"};
        for (int z = 0; z < 5; ++z)
            figures.push_back({std::string(kNames[z]) + " contacts", static_cast<float>(zoneEvents_[z]),
                               std::to_string(zoneEvents_[z])});
        int inFill = 0, outOfHole = 0, held = 0;
        if (massList)
            for (const TMassRef& m : *massList)
                if (m)
                {
                    inFill += Inside(*fill_, m->GetX(), m->GetY()) ? 1 : 0;
                    outOfHole += Inside(*hole_, m->GetX(), m->GetY()) ? 0 : 1;
                }
        for (const TMassRef& m : trapped_)
            held += Inside(*loop_, m->GetX(), m->GetY()) ? 1 : 0;
        figures.push_back({"Inside the FILL", static_cast<float>(inFill), std::to_string(inFill)});
        figures.push_back({"Outside the HOLE", static_cast<float>(outOfHole), std::to_string(outOfHole)});
        figures.push_back({"Held in the LOOP", static_cast<float>(held), Format("%d of %d", held, kTrapped)});
        figures.push_back({"Bounces", static_cast<float>(*bounces_), std::to_string(*bounces_)});
    }

  private:
    // A new mass at the top of the column, or the column's oldest one put back there.
    void Pour(int column, float x, float y)
    {
        std::vector<TMassRef>& list = masses_[static_cast<std::size_t>(column)];
        if (static_cast<int>(list.size()) < kPerColumn)
        {
            TMassRef m = TMass::Create(x, y, 1.0f, kRadius, 0.3f, -1);
            m->AddRef();
            list.push_back(m);
            return;
        }
        int& next = next_[static_cast<std::size_t>(column)];
        list[static_cast<std::size_t>(next)]->Position(x, y);
        next = (next + 1) % kPerColumn;
    }

    TZoneRef line_, loop_, fill_, hole_, pad_;
    std::shared_ptr<int> bounces_;
    std::vector<std::vector<TMassRef>> masses_;
    std::vector<int> next_;
    std::vector<TMassRef> trapped_;
    int zoneEvents_[5] = {0, 0, 0, 0, 0};
    shared::Jitter jitter_;
    int steps_ = 0;
};
} // namespace

TSceneRef MakeZones()
{
    return std::make_unique<TZonesScene>();
}

} // namespace ravel::samples

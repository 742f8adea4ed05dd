// samples/DeterminismScene.cpp: two worlds built alike and stepped alike, side by side, with a digest
// of every mass's floats under each: they stay equal until someone pokes one of them.
#include "samples/Registry.h"
#include "samples/SharedScenes.h"

#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/Graphics2D.h"

#include <cstdint>
#include <cstring>

namespace ravel::samples
{

namespace
{
constexpr float kWidth = 600.0f, kHeight = 450.0f;
constexpr float kGap = 60.0f; // between the two worlds as drawn

// FNV-1a over the bytes of every active mass's position and previous position, in registry order.
std::uint64_t MassDigest()
{
    std::uint64_t h = 1469598103934665603ull;
    if (!massList)
        return h;
    for (const TMassRef& m : *massList)
    {
        const float floats[4] = {m->posX, m->posY, m->oldPosX, m->oldPosY};
        unsigned char bytes[sizeof floats];
        std::memcpy(bytes, floats, sizeof floats);
        for (unsigned char b : bytes)
            h = (h ^ b) * 1099511628211ull;
    }
    return h;
}

// One of the two worlds and what it holds.
struct TTwin
{
    TWorldSlot slot;
    std::vector<TMassRef> balls;
    std::vector<TAdvBodyRef> blobs;
    std::vector<TZoneRef> zones;
    std::uint64_t digest = 0;

    // Makes the world and its contents from nothing but constants, so that both come out the same.
    void Build()
    {
        TPhysics::Create(kWidth, kHeight, 0.12f, 0.0f, 3);
        TPhysics::SetGridSize(16);
        TPhysics::UseShiftedGrid(1);
        zones.push_back(
            TZone::Create({-120.0f, 50.0f, 0.0f, -40.0f, 120.0f, 50.0f}, TZone::FILL, 0.4f, -1, 5));
        zones.back()->Position(300.0f, 380.0f);
        zones.back()->SetBlend(ALPHABLEND);
        zones.back()->SetAlpha(0.35f);
        zones.push_back(TZone::Create({0.0f, 0.0f, 220.0f, 90.0f}, TZone::LINE, 0.2f, -1, 4));
        zones.back()->Position(20.0f, 170.0f);
        shared::Jitter jitter;
        for (int k = 0; k < 40; ++k)
        {
            TMassRef m = TMass::Create(40.0f + static_cast<float>(k % 10) * 26.0f + jitter.Next(4.0f),
                                       30.0f + static_cast<float>(k / 10) * 26.0f, 1.0f, 8.0f, 0.4f, -1);
            m->AddRef();
            balls.push_back(m);
        }
        for (int b = 0; b < 4; ++b)
        {
            blobs.push_back(MakeBlob(340.0f + static_cast<float>(b % 2) * 110.0f,
                                     60.0f + static_cast<float>(b / 2) * 110.0f, 30.0f, 8, 8.0f, 0.15f));
            blobs.back()->Activate();
        }
        slot.Capture();
        digest = MassDigest();
    }

    // One step, with the same input as the other world gets: every 20 steps a ball goes back to the top.
    void Step(int step)
    {
        slot.MakeCurrent();
        if (step % 20 == 0)
        {
            const TMassRef& ball = balls[static_cast<std::size_t>(step / 20) % balls.size()];
            ball->Position(60.0f + static_cast<float>((step * 37) % 480), 30.0f);
        }
        TPhysics::Update();
        digest = MassDigest();
    }

    // Drops everything; the world goes last, once nothing in it is held here any more.
    void Clear()
    {
        slot.MakeCurrent();
        blobs.clear();
        balls.clear();
        zones.clear();
        slot.Release();
    }
};

class TDeterminismScene : public TScene
{
  public:
    ~TDeterminismScene() override
    {
        right_.Clear();
        left_.slot.MakeCurrent(); // the testbed frees the current world after the scene
        left_.blobs.clear();
        left_.balls.clear();
        left_.zones.clear();
    }
    std::string Name() const override { return "Determinism"; }
    std::string About() const override
    {
        return "Two worlds from the same start, stepped alike: their digests stay equal. Drag a mass in the "
               "left one to part them.";
    }

    void Build() override
    {
        // The testbed's world is the left one, made last so that it is current from here on. Both take
        // the same automatic collision groups, so that they are alike to the last number (and colour).
        int groups = nextAutoColGroup;
        right_.Build();
        nextAutoColGroup = groups;
        left_.Build();
        steps_ = 0;
        firstDifference_ = -1;
    }

    void Step() override
    {
        ++steps_;
        right_.Step(steps_);
        left_.Step(steps_);
        if (firstDifference_ < 0 && left_.digest != right_.digest)
            firstDifference_ = steps_;
    }

    void Draw(const TShow& show) override
    {
        DrawWorld(show);
        DrawFrame(left_.digest);
        right_.slot.MakeCurrent();
        TView shifted = show.view;
        shifted.cx = show.view.cx - (kWidth + kGap);
        shifted.Apply();
        TShow right = show;
        right.events.clear(); // the contacts shown are the left world's
        DrawWorld(right);
        DrawFrame(right_.digest);
        left_.slot.MakeCurrent();
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        bool same = left_.digest == right_.digest;
        figures.push_back({"Steps", static_cast<float>(steps_), std::to_string(steps_)});
        figures.push_back(
            {"Left digest", 0.0f, Format("%016llx", static_cast<unsigned long long>(left_.digest))});
        figures.push_back(
            {"Right digest", 0.0f, Format("%016llx", static_cast<unsigned long long>(right_.digest))});
        figures.push_back({"Digests equal", same ? 1.0f : 0.0f, same ? "yes" : "no"});
        if (firstDifference_ >= 0)
            figures.push_back(
                {"Parted at step", static_cast<float>(firstDifference_), std::to_string(firstDifference_)});
    }

    TRect Frame() const override { return {0.0f, 0.0f, kWidth * 2.0f + kGap, kHeight + 40.0f}; }

    void ForEachWorld(const std::function<void()>& fn) override
    {
        right_.slot.MakeCurrent();
        fn();
        left_.slot.MakeCurrent();
        fn();
    }

  private:
    // The current world's bounds and its digest below them.
    static void DrawFrame(std::uint64_t digest)
    {
        SetColor(200, 200, 210);
        TPhysics::DrawLine(0.0f, 0.0f, kWidth, 0.0f);
        TPhysics::DrawLine(kWidth, 0.0f, kWidth, kHeight);
        TPhysics::DrawLine(kWidth, kHeight, 0.0f, kHeight);
        TPhysics::DrawLine(0.0f, kHeight, 0.0f, 0.0f);
        DrawWorldLabel(Format("digest %016llx", static_cast<unsigned long long>(digest)), kWidth * 0.5f,
                       kHeight + 20.0f);
    }

    TTwin left_, right_;
    int steps_ = 0;
    int firstDifference_ = -1;
};
} // namespace

TSceneRef MakeDeterminism()
{
    return std::make_unique<TDeterminismScene>();
}

} // namespace ravel::samples

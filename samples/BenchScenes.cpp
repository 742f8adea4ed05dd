// samples/BenchScenes.cpp: the pile, the cloth and the blobs, built exactly as the benchmarks build
// them, at a size the panel can change.
#include "samples/Registry.h"
#include "samples/SharedScenes.h"

#include <algorithm>
#include <cmath>

namespace ravel::samples
{

namespace
{
// The shortest and the longest stick, as percentages of their rest lengths.
void StressFigures(std::vector<TFigure>& figures)
{
    float least = 1.0f, greatest = 1.0f;
    StressRange(least, greatest);
    figures.push_back(
        {"Shortest stick", least, Format("%.1f%% of rest", static_cast<double>(least * 100.0f))});
    figures.push_back(
        {"Longest stick", greatest, Format("%.1f%% of rest", static_cast<double>(greatest * 100.0f))});
}

// How many masses are still inside the bounds, how high the heap is and how fast its masses move.
void HeapFigures(std::vector<TFigure>& figures)
{
    int n = massList ? massList->Count() : 0;
    int inside = MassesInsideBounds();
    float speed = MeanSpeed(), top = 1e30f;
    if (massList)
        for (const TMassRef& m : *massList)
            top = m ? std::min(top, m->GetY()) : top;
    figures.push_back({"Inside the bounds", static_cast<float>(inside), Format("%d of %d", inside, n)});
    figures.push_back({"Top of the heap", top, Format("y = %.0f", static_cast<double>(top))});
    figures.push_back({"Mean speed", speed, Format("%.3f units a step", static_cast<double>(speed))});
}

class TSharedScene : public TScene
{
  public:
    using BuildFn = shared::Scene (*)(int);

    TSharedScene(std::string name, std::string about, BuildFn build, int start, int least, int most)
        : name_(std::move(name)), about_(std::move(about)), build_(build)
    {
        size = start;
        minSize = least;
        maxSize = most;
    }
    std::string Name() const override { return name_; }
    std::string About() const override { return about_; }
    void Build() override { held_ = build_(size); }

  protected:
    std::string name_, about_;
    BuildFn build_;
    shared::Scene held_;
};

class TPileScene : public TSharedScene
{
  public:
    TPileScene()
        : TSharedScene("Pile", "Masses poured in columns settle into a heap; the grid finds their pairs.",
                       &shared::BuildPile, 1000, 125, 16000)
    {
    }
    void Figures(std::vector<TFigure>& figures) const override { HeapFigures(figures); }
};

class TClothScene : public TSharedScene
{
  public:
    TClothScene()
        : TSharedScene("Cloth", "A lattice of rigid sticks hangs from its frozen top row; drag its corners.",
                       &shared::BuildCloth, 40, 10, 160)
    {
    }
    void Figures(std::vector<TFigure>& figures) const override
    {
        int pinned = 0;
        float lowest = 0.0f;
        if (massList)
            for (const TMassRef& m : *massList)
                if (m)
                {
                    pinned += m->IsFrozen();
                    lowest = std::max(lowest, m->GetY());
                }
        figures.push_back({"Pinned masses", static_cast<float>(pinned), std::to_string(pinned)});
        StressFigures(figures);
        figures.push_back({"Lowest mass", lowest, Format("y = %.0f", static_cast<double>(lowest))});
    }
    // The cloth with room beside it and below, where it swings when dragged.
    TRect Frame() const override
    {
        TRect r{1e30f, 1e30f, -1e30f, -1e30f};
        for (const TMassRef& m : held_.masses)
        {
            r.x0 = std::min(r.x0, m->GetX());
            r.y0 = std::min(r.y0, m->GetY());
            r.x1 = std::max(r.x1, m->GetX());
            r.y1 = std::max(r.y1, m->GetY());
        }
        float side = r.x1 - r.x0;
        return {r.x0 - side * 0.8f, r.y0 - side * 0.15f, r.x1 + side * 0.8f, r.y1 + side * 0.9f};
    }
};

class TBlobsScene : public TSharedScene
{
  public:
    TBlobsScene()
        : TSharedScene("Blobs", "Soft rings on spokes, one collision group each, fall and squash together.",
                       &shared::BuildBlobs, 100, 25, 800)
    {
    }
    void Figures(std::vector<TFigure>& figures) const override
    {
        // How squashed the blobs are: each one's mean distance from its centre to its ring, against the
        // 24 units it was built with. The scene lists each blob's twelve ring masses, then its centre.
        int blobs = static_cast<int>(held_.bodies.size());
        float least = 1.0f, most = 1.0f;
        for (std::size_t b = 0; (b + 1) * 13 <= held_.masses.size(); ++b)
        {
            const TMass& centre = *held_.masses[b * 13 + 12];
            float sum = 0.0f;
            for (std::size_t r = 0; r < 12; ++r)
            {
                const TMass& m = *held_.masses[b * 13 + r];
                float dx = m.GetX() - centre.GetX(), dy = m.GetY() - centre.GetY();
                sum += std::sqrt(dx * dx + dy * dy);
            }
            float scale = sum / (12.0f * 24.0f);
            least = b == 0 ? scale : std::min(least, scale);
            most = b == 0 ? scale : std::max(most, scale);
        }
        figures.push_back({"Blobs", static_cast<float>(blobs), std::to_string(blobs)});
        figures.push_back(
            {"Smallest blob", least, Format("%.0f%% of its size", static_cast<double>(least * 100.0f))});
        figures.push_back(
            {"Largest blob", most, Format("%.0f%% of its size", static_cast<double>(most * 100.0f))});
        HeapFigures(figures);
    }
};
} // namespace

TSceneRef MakePile()
{
    return std::make_unique<TPileScene>();
}

TSceneRef MakeCloth()
{
    return std::make_unique<TClothScene>();
}

TSceneRef MakeBlobs()
{
    return std::make_unique<TBlobsScene>();
}

} // namespace ravel::samples

// samples/BridgeScene.cpp: a rope bridge of masses and rigid sticks, frozen at both ends, with soft
// blobs dropped onto it one after another.
#include "samples/Registry.h"

#include "physics/TAdvBody.h"

#include <algorithm>

namespace ravel::samples
{

namespace
{
constexpr float kWidth = 1200.0f, kHeight = 700.0f;
constexpr float kLeft = 150.0f, kRight = 1050.0f, kDeckY = 280.0f;
constexpr int kLinks = 64; // sticks in the deck; one more mass than that
constexpr int kBlobs = 6;  // dropped one every kDropEvery steps
constexpr int kDropEvery = 45;
constexpr int kRing = 10; // masses round each blob's centre

class TBridgeScene : public TScene
{
  public:
    std::string Name() const override { return "Bridge"; }
    std::string About() const override
    {
        return "A deck of masses on rigid sticks, frozen at both ends; soft blobs drop onto it in turn.";
    }

    void Build() override
    {
        TPhysics::Create(kWidth, kHeight, 0.12f, 0.0f, 12);
        TPhysics::SetFriction(0.6f);
        deck_ = std::make_shared<TAdvBody>();
        deck_->SetName("Deck");
        float spacing = (kRight - kLeft) / static_cast<float>(kLinks);
        int group = -1;
        for (int k = 0; k <= kLinks; ++k)
        {
            int slot =
                deck_->MassAdd(kLeft + spacing * static_cast<float>(k), kDeckY, 2.0f, 8.0f, 0.8f, group);
            group = deck_->MassGetColGroup(slot); // the whole deck in one group: its masses overlap
        }
        // A little slack, so that the deck hangs as a rope does.
        for (int k = 0; k < kLinks; ++k)
            deck_->ConAdd(k, k + 1, spacing * 1.015f, 1.0f);
        deck_->MassFreeze(0);
        deck_->MassFreeze(kLinks);
        deck_->Activate();

        // The blobs are built now and put into the world one by one: an inactive body does not move.
        blobs_.clear();
        for (int b = 0; b < kBlobs; ++b)
        {
            TAdvBodyRef blob =
                MakeBlob(kLeft + 120.0f + static_cast<float>(b) * 130.0f, 90.0f, 30.0f, kRing, 8.0f, 0.08f);
            blobs_.push_back(blob);
        }
        steps_ = 0;
    }

    void Step() override
    {
        if (steps_ % kDropEvery == 0 && steps_ / kDropEvery < kBlobs)
            blobs_[static_cast<std::size_t>(steps_ / kDropEvery)]->Activate();
        ++steps_;
        TPhysics::Update();
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        float sag = 0.0f, longest = 0.0f;
        for (int k = 0; k <= kLinks; ++k)
            sag = std::max(sag, deck_->MassGetY(k) - kDeckY);
        for (int k = 0; k < kLinks; ++k)
            longest = std::max(longest, deck_->ConGetStress(k));
        int onDeck = 0, fallen = 0, dropped = 0;
        for (const TAdvBodyRef& blob : blobs_)
        {
            if (!blob->MassIsActive(0))
                continue;
            ++dropped;
            float x = blob->MassGetX(0), y = blob->MassGetY(0);
            onDeck += x > kLeft && x < kRight && y < kDeckY + sag ? 1 : 0;
            fallen += y > kDeckY + sag + 40.0f ? 1 : 0;
        }
        figures.push_back({"Deck sag", sag, Format("%.1f units", static_cast<double>(sag))});
        figures.push_back(
            {"Longest link", longest, Format("%.1f%% of rest", static_cast<double>(longest * 100.0f))});
        figures.push_back(
            {"Blobs dropped", static_cast<float>(dropped), Format("%d of %d", dropped, kBlobs)});
        figures.push_back({"Blobs on the deck", static_cast<float>(onDeck), std::to_string(onDeck)});
        figures.push_back({"Blobs fallen through", static_cast<float>(fallen), std::to_string(fallen)});
    }

    TAdvBodyRef deck_;
    std::vector<TAdvBodyRef> blobs_;
    int steps_ = 0;
};
} // namespace

TSceneRef MakeBridge()
{
    return std::make_unique<TBridgeScene>();
}

} // namespace ravel::samples

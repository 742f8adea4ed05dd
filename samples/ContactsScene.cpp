// samples/ContactsScene.cpp: each step's collision events drawn where they happened, and what the
// three queue modes make of the same contacts.
#include "samples/Registry.h"
#include "samples/SharedScenes.h"

#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/Graphics2D.h"

namespace ravel::samples
{

namespace
{
const char* ModeMeaning(int mode)
{
    static const char* const kMeanings[3] = {"hooks see every contact, the queue keeps none",
                                             "a pair's event adds up its depths",
                                             "a pair's event keeps its last depth"};
    return kMeanings[mode == TColEvent::MODE_DISCARD || mode == TColEvent::MODE_REPLACE ? mode : 1];
}

class TContactsScene : public TScene
{
  public:
    TContactsScene() { startContacts = true; }
    std::string Name() const override { return "Contacts"; }
    std::string About() const override
    {
        return "Dots: the queue's events (size the depth; yellow mass, cyan zone, red bounds). Crosses: "
               "every report. E changes the mode.";
    }

    void Build() override
    {
        // Four passes, so that a pair touching in several of them shows what each mode keeps.
        TPhysics::Create(800.0f, 600.0f, 0.12f, 0.0f, 4);
        TPhysics::SetFriction(0.5f);
        TColEvent::SetMode(TColEvent::MODE_UPDATE);
        wedge_ = TZone::Create({-150.0f, 60.0f, 0.0f, -50.0f, 150.0f, 60.0f}, TZone::FILL, 0.4f, -1, 5);
        wedge_->Position(400.0f, 420.0f);
        wedge_->SetBlend(ALPHABLEND);
        wedge_->SetAlpha(0.35f);
        blobs_.clear();
        for (int b = 0; b < 3; ++b)
        {
            blobs_.push_back(MakeBlob(220.0f + static_cast<float>(b) * 180.0f, 120.0f, 34.0f, 9, 9.0f, 0.1f));
            blobs_.back()->Activate();
        }
        balls_.clear();
        for (int k = 0; k < 24; ++k)
        {
            TMassRef m = TMass::Create(120.0f + static_cast<float>(k % 12) * 50.0f + jitter_.Next(6.0f),
                                       240.0f + static_cast<float>(k / 12) * 40.0f, 1.0f, 10.0f, 0.4f, -1);
            m->AddRef();
            balls_.push_back(m);
        }
    }

    void Step() override
    {
        // A ball from the floor dropped again now and then, so that contacts keep coming.
        if (++steps_ % 15 == 0)
        {
            TMassRef& ball = balls_[next_];
            ball->Position(400.0f + jitter_.Next(250.0f), 40.0f);
            next_ = (next_ + 1) % balls_.size();
        }
        TPhysics::Update();
    }

    void Contacts(const std::vector<TContact>& events, const std::vector<TContact>& reports) override
    {
        queued_ = static_cast<int>(events.size());
        reported_ = static_cast<int>(reports.size());
        queueForce_ = 0.0f;
        reportForce_ = 0.0f;
        for (const TContact& e : events)
            queueForce_ += e.force;
        for (const TContact& r : reports)
            reportForce_ += r.force;
    }

    void Draw(const TShow& show) override
    {
        DrawWorld(show);
        // Every report as a small cross: where each pass found the contact.
        SetColor(255, 255, 255);
        for (const TContact& r : show.reports)
        {
            float sx = TPhysics::ScreenX(r.x, r.y), sy = TPhysics::ScreenY(r.x, r.y);
            DrawLine(sx - 3.0f, sy, sx + 3.0f, sy);
            DrawLine(sx, sy - 3.0f, sx, sy + 3.0f);
        }
        SetColor(255, 255, 255);
        int mode = TColEvent::GetMode();
        DrawWorldLabel(Format("Mode %s: %s", EventModeName(mode), ModeMeaning(mode)), 400.0f, 30.0f);
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        int mode = TColEvent::GetMode();
        figures.push_back({"Mode", static_cast<float>(mode), EventModeName(mode)});
        figures.push_back({"Reports", static_cast<float>(reported_), std::to_string(reported_)});
        figures.push_back({"Queued events", static_cast<float>(queued_), std::to_string(queued_)});
        figures.push_back(
            {"Reported depth", reportForce_, Format("%.2f", static_cast<double>(reportForce_))});
        figures.push_back({"Queued depth", queueForce_, Format("%.2f", static_cast<double>(queueForce_))});
    }

  private:
    TZoneRef wedge_;
    std::vector<TAdvBodyRef> blobs_;
    std::vector<TMassRef> balls_;
    shared::Jitter jitter_;
    std::size_t next_ = 0;
    int steps_ = 0;
    int queued_ = 0, reported_ = 0;
    float queueForce_ = 0.0f, reportForce_ = 0.0f;
};
} // namespace

TSceneRef MakeContacts()
{
    return std::make_unique<TContactsScene>();
}

} // namespace ravel::samples

// samples/CarScene.cpp: the demo's car body, loaded from its file, on the demo's track with its grass
// zones as sensors that slow what touches them; the arrows push the car about.
#include "samples/Registry.h"

#include "demo/Demo.h"
#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"
#include "platform/KeyCodes.h"

#include <algorithm>

namespace ravel::samples
{

namespace
{
class TCarScene : public TScene
{
  public:
    TCarScene() { startFollowing = true; }
    std::string Name() const override { return "Car"; }
    std::string About() const override
    {
        return "The demo's car body from media/car4.rvb on its track; arrows push it, grass slows it.";
    }

    void Build() override
    {
        TPhysics::Create(10240.0f, 5120.0f, 0.0f, 0.0f, 1);
        error_.clear();
        SetAutoMidHandle(0);
        track1_ = LoadImage(demo::MediaPath("track01.png"), 0);
        track2_ = LoadImage(demo::MediaPath("track02.png"), 0);
        if (!track1_ || !track2_)
            error_ = "cannot read the track pictures in " + demo::MediaDir();
        // The grass does not push: it drags whatever is on it, as the demo's grass takes grip.
        grass_.clear();
        for (const char* name : {"grass1.rvz", "grass2.rvz", "grass3.rvz"})
        {
            TZoneRef zone = TZone::Load(demo::MediaPath(name));
            if (!zone)
            {
                error_ = "cannot load " + demo::MediaPath(name);
                continue;
            }
            zone->SetScale(5.0f, 5.0f);
            zone->OverrideCollision([](const TZoneRef&, const TMassRef& mass, float, float, float) {
                mass->SetVelocity(mass->GetVX() * 0.97f, mass->GetVY() * 0.97f);
                return 0;
            });
            grass_.push_back(zone);
        }
        car_ = TAdvBody::Load(demo::MediaPath("car4.rvb"), 1);
        if (!car_)
        {
            error_ = "cannot load " + demo::MediaPath("car4.rvb");
            return;
        }
        car_->Position(8000.0f, 750.0f);
        car_->Rotate(180.0f);
    }

    void Step() override
    {
        if (car_)
            Drive();
        TPhysics::Update();
    }

    void Contacts(const std::vector<TContact>& events, const std::vector<TContact>&) override
    {
        onGrass_ = 0;
        for (const TContact& e : events)
            for (const TZoneRef& zone : grass_)
                onGrass_ += e.kind == TColEvent::MASS_ZONE && e.other == zone.get() ? 1 : 0;
    }

    void Draw(const TShow& show) override
    {
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetScale(5.0f, 5.0f);
        TPhysics::DrawImage(track1_, 0.0f, 0.0f, 0);
        TPhysics::DrawImage(track2_, 5120.0f, 0.0f, 0);
        SetScale(1.0f, 1.0f);
        SetColor(120, 255, 120);
        for (const TZoneRef& zone : grass_)
            DrawZoneOutline(*zone);
        if (show.quadTrees)
            for (const TZoneRef& zone : grass_)
                zone->DrawQuadTree(0);
        if (car_)
        {
            SetColor(255, 255, 255);
            car_->Draw();
            // Its masses and sticks over the pictures.
            SetAlpha(0.6f);
            if (show.constraints)
            {
                SetColor(255, 255, 120);
                car_->ConDrawAll();
            }
            if (show.masses)
                for (int m = 0; m <= car_->MassMaxIndex(); ++m)
                    if (TMassRef mass = car_->MassGet(m))
                        DrawMass(*mass);
            SetAlpha(1.0f);
        }
        if (show.contacts)
            DrawContacts(show.events);
        if (!error_.empty())
        {
            SetColor(255, 80, 80);
            DrawText(error_, static_cast<float>(GraphicsWidth() / 3),
                     static_cast<float>(GraphicsHeight() / 2));
        }
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        if (!error_.empty())
            figures.push_back({"Error", 1.0f, error_});
        if (!car_)
            return;
        float speed = car_->MassGetVelocity(0);
        figures.push_back({"Speed", speed, demo::SpeedLine(speed).substr(7)});
        figures.push_back({"Heading", car_->GetRotation(),
                           Format("%.0f degrees", static_cast<double>(car_->GetRotation()))});
        figures.push_back({"Masses on grass", static_cast<float>(onGrass_), std::to_string(onGrass_)});
        figures.push_back(
            {"Rigs", static_cast<float>(car_->RigMaxIndex() + 1), std::to_string(car_->RigMaxIndex() + 1)});
    }

    TRect Frame() const override
    {
        float x = car_ ? car_->GetX() : 8000.0f, y = car_ ? car_->GetY() : 750.0f;
        return {x - 400.0f, y - 280.0f, x + 400.0f, y + 280.0f};
    }

    bool Follow(float& x, float& y) const override
    {
        if (!car_)
            return false;
        x = car_->GetX();
        y = car_->GetY();
        return true;
    }

  private:
    // Up and Down push every mass along the heading, Left and Right turn the body in place (Turn keeps
    // the velocities, so the turn does not build up); the wheels (masses 3 to 6) lose most of their
    // sideways speed, so that the car goes where it points, and everything rolls to a stop.
    void Drive()
    {
        float push = (Held(VK_UP) ? 0.12f : 0.0f) - (Held(VK_DOWN) ? 0.08f : 0.0f);
        if (Held(VK_LEFT) != Held(VK_RIGHT))
            car_->Turn(Held(VK_LEFT) ? -1.2f : 1.2f);
        float heading = car_->GetRotation();
        float fx = CosDeg(heading), fy = SinDeg(heading);
        for (int m = 0; m <= car_->MassMaxIndex(); ++m)
        {
            float vx = car_->MassGetVX(m) * 0.99f, vy = car_->MassGetVY(m) * 0.99f;
            if (m >= 3 && m <= 6)
            {
                float along = vx * fx + vy * fy;
                float side = (-vx * fy + vy * fx) * 0.7f;
                vx = fx * along - fy * side;
                vy = fy * along + fx * side;
            }
            car_->MassSetVelocity(m, vx + fx * push, vy + fy * push);
        }
    }

    TImageRef track1_, track2_;
    std::vector<TZoneRef> grass_;
    TAdvBodyRef car_;
    std::string error_;
    int onGrass_ = 0;
};
} // namespace

TSceneRef MakeCar()
{
    return std::make_unique<TCarScene>();
}

} // namespace ravel::samples

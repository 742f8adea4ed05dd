// samples/TScene.cpp: what every scene shares: the default step and drawing, group colours, labels,
// and keeping several worlds.
#include "samples/TScene.h"

#include "physics/TAdvBody.h"
#include "physics/TColEvent.h"
#include "physics/TConstraint.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/DegMath.h"
#include "platform/Graphics2D.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace ravel::samples
{

void TView::Apply() const
{
    TPhysics::SetDrawRotation(0.0f);
    TPhysics::SetDrawZoom(zoom);
    TPhysics::SetDrawCoords(cx, cy);
}

void TScene::Step()
{
    TPhysics::Update();
}

void TScene::Draw(const TShow& show)
{
    DrawWorld(show);
}

std::string TScene::ChoiceTitle() const
{
    return {};
}

std::vector<std::string> TScene::Choices() const
{
    return {};
}

int TScene::Chosen() const
{
    return -1;
}

void TScene::Choose(int)
{
}

bool TScene::Held(int key) const
{
    return std::find(heldKeys.begin(), heldKeys.end(), key) != heldKeys.end();
}

void TScene::Contacts(const std::vector<TContact>&, const std::vector<TContact>&)
{
}

void TScene::Figures(std::vector<TFigure>&) const
{
}

float FigureValue(const TScene& scene, const std::string& name, float otherwise)
{
    std::vector<TFigure> figures;
    scene.Figures(figures);
    for (const TFigure& f : figures)
        if (f.name == name)
            return f.value;
    return otherwise;
}

bool TScene::Key(int)
{
    return false;
}

TRect TScene::Frame() const
{
    TRect r;
    TPhysics::GetBounds(r.x0, r.y0, r.x1, r.y1);
    return r;
}

bool TScene::Follow(float&, float&) const
{
    return false;
}

void TScene::ForEachWorld(const std::function<void()>& fn)
{
    fn();
}

void GroupColor(int group, int& red, int& green, int& blue)
{
    // Twelve colours that stay apart on a dark background; neighbouring groups get distant ones.
    static const int kPalette[12][3] = {{240, 90, 80},   {90, 200, 110},  {90, 150, 250}, {240, 200, 70},
                                        {200, 110, 230}, {80, 210, 210},  {250, 150, 60}, {160, 220, 80},
                                        {120, 120, 250}, {240, 120, 170}, {60, 180, 160}, {210, 170, 120}};
    if (group == 0)
    {
        red = green = blue = 150; // collides with nothing
        return;
    }
    int k = (std::abs(group) * 5) % 12;
    red = kPalette[k][0];
    green = kPalette[k][1];
    blue = kPalette[k][2];
}

void DrawMass(const TMass& mass)
{
    int r = 255, g = 255, b = 255;
    if (!mass.IsFrozen())
        GroupColor(mass.GetColGroup(), r, g, b);
    SetColor(r, g, b);
    mass.Draw();
}

void DrawZoneOutline(const TZone& zone)
{
    std::vector<float> xy = zone.GetArea();
    float ox = zone.GetX(), oy = zone.GetY();
    std::size_t n = xy.size() / 2;
    for (std::size_t k = 0; k + 1 < n; ++k)
        TPhysics::DrawLine(ox + xy[2 * k], oy + xy[2 * k + 1], ox + xy[2 * k + 2], oy + xy[2 * k + 3]);
    if (zone.GetStyle() != TZone::LINE && n > 2)
        TPhysics::DrawLine(ox + xy[2 * n - 2], oy + xy[2 * n - 1], ox + xy[0], oy + xy[1]);
}

void DrawWorldLabel(const std::string& text, float x, float y)
{
    float sx = TPhysics::ScreenX(x, y), sy = TPhysics::ScreenY(x, y);
    DrawText(text, sx - static_cast<float>(TextWidth(text)) * 0.5f, sy - 8.0f);
}

void DrawContacts(const std::vector<TContact>& contacts)
{
    // A dot at each contact point, its size the depth, one colour per kind.
    SetBlend(ALPHABLEND);
    SetAlpha(0.85f);
    for (const TContact& c : contacts)
    {
        if (c.kind == TColEvent::MASS_MASS)
            SetColor(255, 230, 60);
        else if (c.kind == TColEvent::MASS_ZONE)
            SetColor(60, 230, 255);
        else
            SetColor(255, 70, 60);
        float radius = std::min(3.0f + c.force * 8.0f, 24.0f);
        float sx = TPhysics::ScreenX(c.x, c.y), sy = TPhysics::ScreenY(c.x, c.y);
        DrawOval(sx - radius, sy - radius, radius * 2.0f, radius * 2.0f);
    }
    SetAlpha(1.0f);
}

void DrawWorld(const TShow& show, float bodyAlpha)
{
    SetBlend(ALPHABLEND);
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    TPhysics::GetBounds(x0, y0, x1, y1);
    SetColor(70, 76, 90);
    TPhysics::DrawLine(x0, y0, x1, y0);
    TPhysics::DrawLine(x1, y0, x1, y1);
    TPhysics::DrawLine(x1, y1, x0, y1);
    TPhysics::DrawLine(x0, y1, x0, y0);
    if (zoneList)
        for (const TZoneRef& zone : *zoneList)
        {
            if (!zone)
                continue;
            // The zone as it draws itself (its picture, or its outline or fill in its own blend and
            // alpha), then its outline over it whatever its style.
            SetColor(170, 175, 190);
            SetAlpha(1.0f);
            zone->Draw();
            SetBlend(ALPHABLEND);
            DrawZoneOutline(*zone);
            if (show.quadTrees)
            {
                SetColor(110, 150, 110);
                SetAlpha(0.3f);
                zone->DrawQuadTree(0);
                SetAlpha(1.0f);
            }
        }
    SetAlpha(bodyAlpha);
    if (show.constraints && constraintList)
    {
        SetColor(120, 130, 150);
        for (const TConstraintRef& con : *constraintList)
            if (con)
                con->Draw();
    }
    if (show.masses && massList)
        for (const TMassRef& mass : *massList)
            if (mass)
                DrawMass(*mass);
    SetAlpha(1.0f);
    if (show.contacts)
        DrawContacts(show.events);
}

TAdvBodyRef MakeBlob(float cx, float cy, float radius, int ring, float massRadius, float stiffness)
{
    auto blob = std::make_shared<TAdvBody>();
    blob->SetName("Blob");
    int centre = blob->MassAdd(cx, cy, 1.0f, massRadius, 0.7f, -1);
    int group = blob->MassGetColGroup(centre);
    for (int r = 0; r < ring; ++r)
    {
        float a = static_cast<float>(r) * (360.0f / static_cast<float>(ring));
        blob->MassAdd(cx + CosDeg(a) * radius, cy + SinDeg(a) * radius, 1.0f, massRadius, 0.7f, group);
    }
    blob->ConAddAll(stiffness);
    return blob;
}

int MassesInsideBounds()
{
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    TPhysics::GetBounds(x0, y0, x1, y1);
    int inside = 0;
    if (massList)
        for (const TMassRef& m : *massList)
            inside += m && m->GetX() >= x0 && m->GetX() <= x1 && m->GetY() >= y0 && m->GetY() <= y1 ? 1 : 0;
    return inside;
}

float MeanSpeed()
{
    float sum = 0.0f;
    int n = 0;
    if (massList)
        for (const TMassRef& m : *massList)
            if (m && !m->IsFrozen())
            {
                sum += m->GetVelocity();
                ++n;
            }
    return n > 0 ? sum / static_cast<float>(n) : 0.0f;
}

void StressRange(float& least, float& greatest)
{
    least = 1.0f;
    greatest = 1.0f;
    bool first = true;
    if (constraintList)
        for (const TConstraintRef& c : *constraintList)
        {
            if (!c || c->GetRestLength() <= 0.0f)
                continue;
            float s = c->GetStress();
            least = first ? s : std::min(least, s);
            greatest = first ? s : std::max(greatest, s);
            first = false;
        }
}

void TWorldSlot::Capture()
{
    physics = world;
    masses = massList;
    constraints = constraintList;
    zones = zoneList;
}

void TWorldSlot::MakeCurrent() const
{
    world = physics;
    massList = masses;
    constraintList = constraints;
    zoneList = zones;
}

void TWorldSlot::Release()
{
    if (physics && world == physics)
        TPhysics::Free();
    physics.reset();
    masses.reset();
    constraints.reset();
    zones.reset();
}

const char* EventModeName(int mode)
{
    // MODE_DISCARD 0, MODE_UPDATE 1, MODE_REPLACE 2; any other number works as MODE_UPDATE.
    static const char* const kNames[3] = {"DISCARD", "UPDATE", "REPLACE"};
    return kNames[mode == TColEvent::MODE_DISCARD || mode == TColEvent::MODE_REPLACE ? mode : 1];
}

std::string Format(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace ravel::samples

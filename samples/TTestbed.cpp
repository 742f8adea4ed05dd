// samples/TTestbed.cpp: scenes opened and restarted, keys and mouse tools, the timed step and the
// panel.
#include "samples/TTestbed.h"

#include "samples/Registry.h"

#include "physics/TColEvent.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/Graphics2D.h"
#include "platform/KeyCodes.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace ravel::samples
{

void TStepTimes::Add(float ms)
{
    ms_[next_] = ms;
    next_ = (next_ + 1) % 60;
    count_ = std::min(count_ + 1, 60);
}

float TStepTimes::Mean() const
{
    float sum = 0.0f;
    for (int k = 0; k < count_; ++k)
        sum += ms_[k];
    return count_ > 0 ? sum / static_cast<float>(count_) : 0.0f;
}

float TStepTimes::Worst() const
{
    float worst = 0.0f;
    for (int k = 0; k < count_; ++k)
        worst = std::max(worst, ms_[k]);
    return worst;
}

const std::vector<int>& TestbedKeys()
{
    static const std::vector<int> keys = {
        VK_ESCAPE,    VK_TAB,      VK_NEXT, VK_PRIOR, VK_HOME,  VK_F1,    VK_F2,        VK_RETURN,
        VK_UP,        VK_DOWN,     VK_LEFT, VK_RIGHT, VK_OEM_4, VK_OEM_6, VK_OEM_COMMA, VK_OEM_PERIOD,
        VK_OEM_MINUS, VK_OEM_PLUS, VK_1,    VK_2,     VK_3,     VK_4,     VK_5,         VK_6,
        VK_7,         VK_8,        VK_9,    VK_C,     VK_E,     VK_F,     VK_G,         VK_K,
        VK_M,         VK_O,        VK_P,    VK_Q,     VK_R,     VK_V};
    return keys;
}

const std::vector<int>& HeldKeys()
{
    static const std::vector<int> keys = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SHIFT};
    return keys;
}

namespace
{
// Every report the library makes during a step, before the queue merges repeats.
TColEventRef RecordReport(int, const TColEventRef& event, void* context)
{
    auto* reports = static_cast<std::vector<TContact>*>(context);
    TContact c{event->GetID(), event->GetX(), event->GetY(), event->GetForce(), nullptr};
    if (TZoneRef zone = event->GetZone())
        c.other = zone.get();
    else if (TMassRef mass = event->GetMass2())
        c.other = mass.get();
    reports->push_back(c);
    return event;
}

// Splits the text into lines of at most `width` characters at spaces.
std::vector<std::string> Wrap(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size())
    {
        std::size_t space = text.find(' ', at);
        std::string word = text.substr(at, space == std::string::npos ? std::string::npos : space - at);
        at = space == std::string::npos ? text.size() : space + 1;
        if (!line.empty() && line.size() + 1 + word.size() > width)
        {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

int ScreenWidth()
{
    return GraphicsWidth() > 0 ? GraphicsWidth() : 1024;
}

int ScreenHeight()
{
    return GraphicsHeight() > 0 ? GraphicsHeight() : 720;
}

const char* const kGravityNames[4] = {"as built", "off", "doubled", "reversed"};
} // namespace

TTestbed::TTestbed() = default;

TTestbed::~TTestbed()
{
    Close();
    Hook(false);
}

void TTestbed::Hook(bool on)
{
    // A hook sends every report through the library's slower path (an event made for each), so it is
    // there only while the contacts are shown.
    if (on == hooked_)
        return;
    if (on)
        TColEvent::AddHook(&RecordReport, &show.reports);
    else
        TColEvent::RemoveHook(&RecordReport, &show.reports);
    hooked_ = on;
    show.reports.clear();
}

void TTestbed::LetGo()
{
    // A mass that was free goes on at the speed the pointer gave it; a pinned one stays pinned.
    if (dragged && !draggedWasFrozen_)
    {
        dragged->Thaw();
        dragged->SetVelocity(dragX_, dragY_);
    }
    dragged.reset();
}

void TTestbed::Close()
{
    dragged.reset();
    panning_ = false;
    show.events.clear();
    show.reports.clear();
    if (!scene_)
        return;
    scene_.reset();
    TColEvent::Flush();
    TPhysics::Free();
}

void TTestbed::Build(TSceneRef scene)
{
    scene_ = std::move(scene);
    scene_->Build();
    scene_->restart = false;
    baseGravityX_ = world ? world->gravityX : 0.0f;
    baseGravityY_ = world ? world->gravityY : 0.0f;
    gravityState_ = 0;
    steps = 0;
    times.Clear();
    FitView();
}

void TTestbed::Open(int index)
{
    const std::vector<TSceneEntry>& list = SceneList();
    int n = static_cast<int>(list.size());
    index = ((index % n) + n) % n;
    Close();
    index_ = index;
    TSceneRef scene = list[static_cast<std::size_t>(index)].make();
    show.contacts = scene->startContacts;
    show.quadTrees = scene->startQuadTrees;
    following = scene->startFollowing;
    paused = false;
    Build(std::move(scene));
}

void TTestbed::Restart()
{
    if (!scene_)
        return;
    int size = scene_->size;
    std::string path = scene_->path;
    Close();
    TSceneRef scene = SceneList()[static_cast<std::size_t>(index_)].make();
    scene->size = size;
    scene->path = path;
    Build(std::move(scene));
}

void TTestbed::Drop(const std::string& path)
{
    int viewer = FindScene("Viewer");
    if (index_ != viewer)
        Open(viewer);
    scene_->path = path;
    Restart();
}

void TTestbed::Frame(const TInput& input)
{
    HandleInput(input);
    if (scene_ && scene_->restart)
        Restart();
    if (scene_ && !paused)
        StepScene();
    Draw();
}

void TTestbed::HandleInput(const TInput& input)
{
    pointerX = static_cast<float>(input.mouseX);
    pointerY = static_cast<float>(input.mouseY);
    for (const std::string& file : input.drops)
        Drop(file);
    bool shift = std::find(input.held.begin(), input.held.end(), VK_SHIFT) != input.held.end();
    for (int key : input.keys)
        Key(key, shift);
    if (!scene_)
        return;
    scene_->heldKeys = input.held;
    for (const TPress& press : input.presses)
        Press(press);
    if (panning_)
    {
        show.view.cx -= (pointerX - panX_) / show.view.zoom;
        show.view.cy -= (pointerY - panY_) / show.view.zoom;
        panX_ = pointerX;
        panY_ = pointerY;
        following = false;
    }
    if (input.wheel != 0.0f)
    {
        // The world point under the pointer stays where it is.
        float wx = 0.0f, wy = 0.0f;
        ToWorld(pointerX, pointerY, wx, wy);
        show.view.zoom = std::clamp(show.view.zoom * std::pow(1.15f, input.wheel), 0.005f, 200.0f);
        float ax = 0.0f, ay = 0.0f;
        ToWorld(pointerX, pointerY, ax, ay);
        show.view.cx += wx - ax;
        show.view.cy += wy - ay;
    }
    // A mass held while paused goes where the pointer is at once.
    if (paused && dragged)
    {
        float wx = 0.0f, wy = 0.0f;
        ToWorld(pointerX, pointerY, wx, wy);
        dragged->Translate(wx - dragged->GetX(), wy - dragged->GetY());
        dragX_ = dragY_ = 0.0f;
    }
}

void TTestbed::Press(const TPress& press)
{
    pointerX = static_cast<float>(press.x);
    pointerY = static_cast<float>(press.y);
    if (!press.down)
    {
        if (press.button == 1)
            LetGo();
        if (press.button == 2)
            panning_ = false;
        return;
    }
    if (panel && press.x < PANEL_WIDTH)
    {
        if (press.button != 1)
            return;
        std::vector<TPanelLine> lines = PanelLines();
        int row = (press.y - 4) / 16;
        if (row >= 0 && row < static_cast<int>(lines.size()))
        {
            const TPanelLine& line = lines[static_cast<std::size_t>(row)];
            if (line.scene >= 0)
                Open(line.scene);
            else if (line.choice >= 0)
                scene_->Choose(line.choice);
        }
        return;
    }
    if (press.button == 2)
    {
        panning_ = true;
        panX_ = pointerX;
        panY_ = pointerY;
        return;
    }
    if (press.button != 1 || !massList)
        return;
    // The nearest active mass whose disc, or a few pixels round it, is under the pointer.
    float wx = 0.0f, wy = 0.0f;
    ToWorld(pointerX, pointerY, wx, wy);
    float slack = 6.0f / show.view.zoom;
    float best = 1e30f;
    LetGo();
    for (const TMassRef& m : *massList)
    {
        if (!m)
            continue;
        float dx = m->GetX() - wx, dy = m->GetY() - wy;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d <= m->GetRadius() + slack && d < best)
        {
            best = d;
            dragged = m;
        }
    }
    // Held, it is pinned where the pointer is: sticks and collisions do not pull it back.
    if (dragged)
    {
        draggedWasFrozen_ = dragged->IsFrozen() != 0;
        dragged->Freeze();
        dragX_ = dragY_ = 0.0f;
    }
}

void TTestbed::Key(int key, bool shift)
{
    if (key == VK_ESCAPE)
    {
        quit = true;
        return;
    }
    if (key >= VK_1 && key <= VK_9)
    {
        Open(key - VK_1);
        return;
    }
    if (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR)
    {
        Open(index_ + (key == VK_PRIOR || (key == VK_TAB && shift) ? -1 : 1));
        return;
    }
    if (!scene_ || !world || scene_->Key(key))
        return;
    switch (key)
    {
    case VK_P:
        paused = !paused;
        break;
    case VK_O:
        if (paused)
            StepScene();
        break;
    case VK_R:
        Restart();
        break;
    case VK_HOME:
        FitView();
        break;
    case VK_F1:
        panel = !panel;
        break;
    case VK_F2:
        switchRenderer = true;
        break;
    case VK_F:
        following = !following;
        break;
    case VK_C:
        show.contacts = !show.contacts;
        break;
    case VK_Q:
        show.quadTrees = !show.quadTrees;
        break;
    case VK_M:
        show.masses = !show.masses;
        break;
    case VK_K:
        show.constraints = !show.constraints;
        break;
    case VK_OEM_4:
    case VK_OEM_6: {
        int passes = std::clamp(world->i + (key == VK_OEM_6 ? 1 : -1), 1, 64);
        scene_->ForEachWorld([passes] { TPhysics::SetIterations(passes); });
        break;
    }
    case VK_G: {
        int on = world->gridon ? 0 : 1;
        scene_->ForEachWorld([on] { TPhysics::UseShiftedGrid(on); });
        break;
    }
    case VK_OEM_COMMA:
    case VK_OEM_PERIOD: {
        int cells = world->gridsize + (key == VK_OEM_PERIOD ? 8 : -8);
        scene_->ForEachWorld([cells] { TPhysics::SetGridSize(cells); });
        break;
    }
    case VK_V:
        CycleGravity();
        break;
    case VK_E: {
        int mode = TColEvent::GetMode();
        TColEvent::SetMode(mode == TColEvent::MODE_UPDATE    ? TColEvent::MODE_REPLACE
                           : mode == TColEvent::MODE_REPLACE ? TColEvent::MODE_DISCARD
                                                             : TColEvent::MODE_UPDATE);
        break;
    }
    case VK_OEM_MINUS:
    case VK_OEM_PLUS:
        if (scene_->size > 0)
        {
            int size = key == VK_OEM_PLUS ? scene_->size * 2 : scene_->size / 2;
            scene_->size = std::clamp(size, scene_->minSize, scene_->maxSize);
            Restart();
        }
        break;
    default:
        break;
    }
}

void TTestbed::CycleGravity()
{
    gravityState_ = (gravityState_ + 1) % 4;
    float factor = gravityState_ == 1 ? 0.0f : gravityState_ == 2 ? 2.0f : gravityState_ == 3 ? -1.0f : 1.0f;
    float gx = baseGravityX_ * factor, gy = baseGravityY_ * factor;
    scene_->ForEachWorld([gx, gy] { TPhysics::SetGravity(gx, gy); });
}

void TTestbed::StepScene()
{
    if (!scene_)
        return;
    if (dragged && dragged->IsActive())
    {
        // The held mass is carried to the pointer; how far it went is its speed when let go.
        float wx = 0.0f, wy = 0.0f;
        ToWorld(pointerX, pointerY, wx, wy);
        dragX_ = wx - dragged->GetX();
        dragY_ = wy - dragged->GetY();
        dragged->Translate(dragX_, dragY_);
    }
    Hook(show.contacts);
    show.reports.clear();
    auto start = std::chrono::steady_clock::now();
    scene_->Step();
    auto end = std::chrono::steady_clock::now();
    times.Add(std::chrono::duration<float, std::milli>(end - start).count());
    ++steps;
    show.events.clear();
    while (TColEventRef e = TColEvent::Poll())
    {
        TContact c{e->GetID(), e->GetX(), e->GetY(), e->GetForce(), nullptr};
        if (TZoneRef zone = e->GetZone())
            c.other = zone.get();
        else if (TMassRef mass = e->GetMass2())
            c.other = mass.get();
        show.events.push_back(c);
    }
    scene_->Contacts(show.events, show.reports);
}

void TTestbed::AreaCentre(float& x, float& y) const
{
    int left = panel ? PANEL_WIDTH : 0;
    x = static_cast<float>(left + (ScreenWidth() - left) / 2);
    y = static_cast<float>(ScreenHeight() / 2);
}

void TTestbed::ToWorld(float sx, float sy, float& wx, float& wy) const
{
    wx = show.view.cx + (sx - static_cast<float>(ScreenWidth()) * 0.5f) / show.view.zoom;
    wy = show.view.cy + (sy - static_cast<float>(ScreenHeight()) * 0.5f) / show.view.zoom;
}

void TTestbed::FitView()
{
    if (!scene_)
        return;
    TRect r = scene_->Frame();
    int left = panel ? PANEL_WIDTH : 0;
    float w = std::max(r.x1 - r.x0, 1.0f), h = std::max(r.y1 - r.y0, 1.0f);
    float zoom = std::min(static_cast<float>(ScreenWidth() - left - 24) / w,
                          static_cast<float>(ScreenHeight() - 24) / h);
    show.view.zoom = std::max(zoom, 0.005f);
    // The frame's centre goes to the centre of the part of the window the panel leaves.
    float ax = 0.0f, ay = 0.0f;
    AreaCentre(ax, ay);
    show.view.cx = (r.x0 + r.x1) * 0.5f - (ax - static_cast<float>(ScreenWidth()) * 0.5f) / show.view.zoom;
    show.view.cy = (r.y0 + r.y1) * 0.5f - (ay - static_cast<float>(ScreenHeight()) * 0.5f) / show.view.zoom;
}

std::string TTestbed::Title() const
{
    return scene_ ? "Ravel samples: " + scene_->Name() : "Ravel samples";
}

std::vector<TPanelLine> TTestbed::PanelLines() const
{
    std::vector<TPanelLine> lines;
    auto add = [&lines](const std::string& text, int r = 220, int g = 220, int b = 220) {
        TPanelLine line;
        line.text = text;
        line.red = r;
        line.green = g;
        line.blue = b;
        lines.push_back(line);
    };
    add("Ravel samples  (F1 hides the panel)", 255, 255, 255);
    const std::vector<TSceneEntry>& list = SceneList();
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        bool current = static_cast<int>(i) == index_;
        add(Format("%s%zu %s", current ? "> " : "  ", i + 1, list[i].name.c_str()), current ? 255 : 170,
            current ? 220 : 180, current ? 90 : 200);
        lines.back().scene = static_cast<int>(i);
    }
    if (!scene_)
        return lines;
    for (const std::string& line : Wrap(scene_->About(), 40))
        add(line, 150, 200, 255);

    add(Format("Step %.2f ms, worst %.2f (last %d)", static_cast<double>(times.Mean()),
               static_cast<double>(times.Worst()), times.Count()),
        255, 255, 140);
    if (hooked_)
        add("  with a hook recording each contact", 255, 255, 140);
    add(Format("Steps %ld%s", steps, paused ? "  PAUSED (O steps)" : ""), paused ? 255 : 220,
        paused ? 120 : 220, paused ? 120 : 220);
    int masses = massList ? massList->Count() : 0;
    int cons = constraintList ? constraintList->Count() : 0;
    int zones = zoneList ? zoneList->Count() : 0;
    add(Format("Masses %d  Constraints %d  Zones %d", masses, cons, zones));
    if (hooked_)
        add(Format("Contacts %zu, events %zu per step", show.reports.size(), show.events.size()));
    else
        add(Format("Events %zu per step (C: contacts)", show.events.size()));

    if (world)
    {
        const TPhysics& w = *world;
        add(Format("Gravity %.3f, %.3f (V: %s)", static_cast<double>(w.gravityX),
                   static_cast<double>(w.gravityY), kGravityNames[gravityState_]),
            180, 230, 180);
        add(Format("Passes %d ([ ])  Wall friction %.2f", w.i, static_cast<double>(w.friction)), 180, 230,
            180);
        float maxRadius = 0.0f;
        if (massList)
            for (const TMassRef& m : *massList)
                maxRadius = m ? std::max(maxRadius, m->GetRadius()) : maxRadius;
        float cell = std::min((w.boundsMaxX - w.boundsMinX), (w.boundsMaxY - w.boundsMinY)) /
                     static_cast<float>(std::max(w.gridsize, 1));
        add(Format("Grid %s, %d x %d (G , .)", w.gridon ? "on" : "off", w.gridsize, w.gridsize), 180, 230,
            180);
        if (w.gridon && cell < maxRadius * 2.0f)
            add("  cells under two radii: misses", 255, 140, 100);
        add(Format("Events %s (E)  Bounds %.0f x %.0f", EventModeName(TColEvent::GetMode()),
                   static_cast<double>(w.boundsMaxX - w.boundsMinX),
                   static_cast<double>(w.boundsMaxY - w.boundsMinY)),
            180, 230, 180);
    }
    if (scene_->size > 0)
        add(Format("Size %d (- =)", scene_->size), 180, 230, 180);

    std::vector<TFigure> figures;
    scene_->Figures(figures);
    for (const TFigure& f : figures)
        add(f.name + ": " + f.text, f.name == "Error" ? 255 : 230, f.name == "Error" ? 110 : 230,
            f.name == "Error" ? 100 : 230);

    std::vector<std::string> choices = scene_->Choices();
    if (!choices.empty())
    {
        for (const std::string& line : Wrap(scene_->ChoiceTitle(), 40))
            add(line, 150, 200, 255);
        // Twenty at the most, round the marked one.
        std::size_t first = static_cast<std::size_t>(std::max(0, scene_->Chosen() - 10));
        first = std::min(first, choices.size() > 20 ? choices.size() - 20 : 0);
        for (std::size_t i = first; i < choices.size() && i < first + 20; ++i)
        {
            bool marked = static_cast<int>(i) == scene_->Chosen();
            add((marked ? "> " : "  ") + choices[i], marked ? 255 : 200, marked ? 220 : 200,
                marked ? 90 : 200);
            lines.back().choice = static_cast<int>(i);
        }
    }
    add("P pause  O step  R restart  Tab next", 160, 160, 160);
    add("Mouse: left drags a mass, right pans,", 160, 160, 160);
    add("  the wheel zooms.  Home: whole view", 160, 160, 160);
    add("F follow  C contacts  Q quadtree cells", 160, 160, 160);
    add("M masses  K sticks  F2 other renderer", 160, 160, 160);
    return lines;
}

void TTestbed::Draw()
{
    SetClsColor(22, 24, 30);
    Cls();
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    if (scene_)
    {
        if (following)
        {
            float fx = 0.0f, fy = 0.0f, ax = 0.0f, ay = 0.0f;
            if (scene_->Follow(fx, fy))
            {
                AreaCentre(ax, ay);
                show.view.cx = fx - (ax - static_cast<float>(ScreenWidth()) * 0.5f) / show.view.zoom;
                show.view.cy = fy - (ay - static_cast<float>(ScreenHeight()) * 0.5f) / show.view.zoom;
            }
        }
        show.view.Apply();
        scene_->Draw(show);
        show.view.Apply();
        if (dragged && dragged->IsActive())
        {
            // The held mass in magenta, with a line to the pointer.
            float sx = TPhysics::ScreenX(dragged->GetX(), dragged->GetY());
            float sy = TPhysics::ScreenY(dragged->GetX(), dragged->GetY());
            float r = std::max(dragged->GetRadius() * show.view.zoom, 6.0f);
            SetColor(255, 0, 255);
            DrawOval(sx - r, sy - r, r * 2.0f, r * 2.0f);
            DrawLine(sx, sy, pointerX, pointerY);
        }
    }
    if (!panel)
        return;
    SetColor(0, 0, 0);
    SetAlpha(0.72f);
    DrawRect(0.0f, 0.0f, static_cast<float>(PANEL_WIDTH), static_cast<float>(ScreenHeight()));
    SetAlpha(1.0f);
    std::vector<TPanelLine> lines = PanelLines();
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        SetColor(lines[i].red, lines[i].green, lines[i].blue);
        DrawText(lines[i].text.substr(0, (PANEL_WIDTH - 8) / 8), 6.0f, 4.0f + static_cast<float>(i) * 16.0f);
    }
}

} // namespace ravel::samples

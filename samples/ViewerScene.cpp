// samples/ViewerScene.cpp: shows one body file (.rvb) or zone file (.rvz), dropped on the window or
// picked from the files of a folder, with everything it holds, and lets it fall under gravity.
#include "samples/Registry.h"
#include "samples/SharedScenes.h"

#include "demo/Demo.h"
#include "physics/TMass.h"
#include "physics/TZone.h"
#include "platform/FileSystem.h"
#include "platform/Graphics2D.h"
#include "platform/KeyCodes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace ravel::samples
{

namespace
{
std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string BaseName(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* StyleName(int style)
{
    static const char* const kNames[4] = {"LINE", "LOOP", "FILL", "HOLE"};
    return style >= 0 && style < 4 ? kNames[style] : "unknown";
}

// The body and zone files of the folder, sorted by name; none when it cannot be read.
std::vector<std::string> ListFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error))
    {
        std::string path = NormalisePath(it->path().string());
        std::string ext = Lower(ExtractExt(path));
        if ((ext == "rvb" || ext == "rvz") && FileType(path) == FILETYPE_FILE)
            files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

class TViewerScene : public TScene
{
  public:
    TViewerScene() { startQuadTrees = true; }
    std::string Name() const override { return "Viewer"; }
    std::string About() const override
    {
        return "A body (.rvb) or zone (.rvz) file, dropped on the window or picked from the list, under "
               "gravity.";
    }

    void Build() override
    {
        std::string chosen;
        if (path.empty())
            folder_ = demo::MediaDir();
        else if (FileType(path) == FILETYPE_DIR)
            folder_ = path;
        else
        {
            chosen = NormalisePath(path);
            std::size_t slash = chosen.find_last_of('/');
            folder_ = slash == std::string::npos ? "." : chosen.substr(0, std::max<std::size_t>(slash, 1));
        }
        files_ = ListFiles(folder_);
        chosen_ = -1;
        for (std::size_t i = 0; i < files_.size(); ++i)
            if (RealPath(files_[i]) == RealPath(chosen))
                chosen_ = static_cast<int>(i);

        TPhysics::Create(1000.0f, 700.0f, 0.1f, 0.0f, 4);
        file_ = chosen;
        error_.clear();
        if (chosen.empty())
            return;
        std::string ext = Lower(ExtractExt(chosen));
        if (FileType(chosen) != FILETYPE_FILE)
            error_ = "no such file";
        else if (ext == "rvb")
            LoadBody();
        else if (ext == "rvz")
            LoadZone();
        else
            error_ = "not a body (.rvb) or zone (.rvz) file";
    }

    void Step() override
    {
        // Masses rain onto a zone, the oldest poured again once there are enough.
        if (zone_ && steps_ % 8 == 0)
        {
            float x = rainX0_ + (rainX1_ - rainX0_) * (0.5f + jitter_.Next(0.5f));
            if (rain_.size() < 60)
            {
                TMassRef m = TMass::Create(x, rainY_, 1.0f, rainRadius_, 0.4f, -1);
                m->AddRef();
                rain_.push_back(m);
            }
            else
            {
                rain_[next_]->Position(x, rainY_);
                next_ = (next_ + 1) % rain_.size();
            }
        }
        ++steps_;
        TPhysics::Update();
    }

    void Draw(const TShow& show) override
    {
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        if (body_)
            body_->Draw();                    // the rigs, under the masses and sticks
        DrawWorld(show, body_ ? 0.6f : 1.0f); // the rigs show through the masses
        std::string message;
        if (!error_.empty())
        {
            SetColor(255, 90, 80);
            message = "Cannot load " + BaseName(file_) + ": " + error_;
        }
        else if (file_.empty())
        {
            SetColor(220, 220, 220);
            message = "Drop a .rvb or .rvz file on the window, or pick one from the list";
        }
        if (!message.empty())
            DrawText(message, static_cast<float>(GraphicsWidth() - TextWidth(message)) * 0.5f + 130.0f,
                     static_cast<float>(GraphicsHeight()) * 0.5f);
    }

    void Figures(std::vector<TFigure>& figures) const override
    {
        if (!file_.empty())
            figures.push_back({"File", 0.0f, BaseName(file_)});
        if (!error_.empty())
            figures.push_back({"Error", 1.0f, error_});
        if (body_)
        {
            int masses = 0, cons = 0, images = 0, rigs = 0;
            std::set<int> groups;
            for (int i = 0; i <= body_->MassMaxIndex(); ++i)
                if (body_->MassExists(i))
                {
                    ++masses;
                    groups.insert(body_->MassGetColGroup(i));
                }
            for (int i = 0; i <= body_->ConMaxIndex(); ++i)
                cons += body_->ConExists(i);
            for (int i = 0; i <= body_->ImageMaxIndex(); ++i)
                images += body_->ImageExists(i);
            for (int i = 0; i <= body_->RigMaxIndex(); ++i)
                rigs += body_->RigExists(i);
            std::string list;
            for (int g : groups)
                list += (list.empty() ? "" : " ") + std::to_string(g);
            figures.push_back({"Body", 0.0f, body_->GetName()});
            figures.push_back({"Masses", static_cast<float>(masses), std::to_string(masses)});
            figures.push_back({"Constraints", static_cast<float>(cons), std::to_string(cons)});
            figures.push_back({"Images", static_cast<float>(images), std::to_string(images)});
            figures.push_back({"Rigs", static_cast<float>(rigs), std::to_string(rigs)});
            figures.push_back({"Groups", static_cast<float>(groups.size()), list});
        }
        if (zone_)
        {
            int cells = zone_->quadTree ? zone_->quadTree->CellCount() : 0;
            TImageRef picture = zone_->ImageGet();
            figures.push_back({"Zone", 0.0f, zone_->GetName()});
            figures.push_back({"Style", static_cast<float>(zone_->GetStyle()), StyleName(zone_->GetStyle())});
            figures.push_back(
                {"Vertices", static_cast<float>(zone_->VertCount()), std::to_string(zone_->VertCount())});
            figures.push_back({"Quadtree cells", static_cast<float>(cells),
                               Format("%d, %d levels", cells, zone_->GetQTLevel())});
            figures.push_back(
                {"Picture", picture ? 1.0f : 0.0f,
                 picture ? Format("%d x %d", ImageWidth(picture), ImageHeight(picture)) : "none"});
            figures.push_back(
                {"Group", static_cast<float>(zone_->GetColGroup()), std::to_string(zone_->GetColGroup())});
        }
    }

    std::string ChoiceTitle() const override { return "Files in " + folder_ + ":"; }
    std::vector<std::string> Choices() const override
    {
        std::vector<std::string> names;
        for (const std::string& f : files_)
            names.push_back(BaseName(f));
        return names;
    }
    int Chosen() const override { return chosen_; }
    void Choose(int index) override
    {
        if (index < 0 || index >= static_cast<int>(files_.size()))
            return;
        path = files_[static_cast<std::size_t>(index)];
        restart = true;
    }

    bool Key(int key) override
    {
        int n = static_cast<int>(files_.size());
        if (n == 0 || (key != VK_UP && key != VK_DOWN && key != VK_RETURN))
            return false;
        if (key == VK_RETURN)
            Choose(chosen_ < 0 ? 0 : chosen_);
        else
            chosen_ = chosen_ < 0 ? 0 : (chosen_ + (key == VK_DOWN ? 1 : n - 1)) % n;
        return true;
    }

    TRect Frame() const override { return frame_; }

  private:
    void LoadBody()
    {
        body_ = TAdvBody::Load(file_, 0);
        if (!body_)
        {
            error_ = "not a body file that can be read";
            return;
        }
        TRect box{1e30f, 1e30f, -1e30f, -1e30f};
        for (int i = 0; i <= body_->MassMaxIndex(); ++i)
            if (TMassRef m = body_->MassGet(i))
                Grow(box, m->GetX(), m->GetY(), m->GetRadius());
        if (box.x0 > box.x1)
            box = {0.0f, 0.0f, 100.0f, 100.0f};
        // Room all round, and the floor a body's height and a half below it.
        float w = std::max(box.x1 - box.x0, 60.0f), h = std::max(box.y1 - box.y0, 60.0f);
        Bounds({box.x0 - w * 1.5f, box.y0 - h, box.x1 + w * 1.5f, box.y1 + h * 1.5f});
        body_->Activate();
    }

    void LoadZone()
    {
        zone_ = TZone::Load(file_);
        if (!zone_)
        {
            error_ = "not a zone file that can be read";
            return;
        }
        TRect box{1e30f, 1e30f, -1e30f, -1e30f};
        std::vector<float> xy = zone_->GetArea();
        for (std::size_t k = 0; k + 1 < xy.size(); k += 2)
            Grow(box, xy[k] + zone_->GetX(), xy[k + 1] + zone_->GetY(), 0.0f);
        float w = std::max(box.x1 - box.x0, 60.0f), h = std::max(box.y1 - box.y0, 60.0f);
        Bounds({box.x0 - w * 0.2f, box.y0 - h * 0.5f, box.x1 + w * 0.2f, box.y1 + h * 0.2f});
        // Masses in proportion to the zone rain on it from above, and fall as fast as it is tall.
        rainX0_ = box.x0;
        rainX1_ = box.x1;
        rainY_ = box.y0 - h * 0.4f;
        rainRadius_ = std::max(w, h) / 120.0f;
        TPhysics::SetGravity(0.0f, std::max(0.1f, h / 4000.0f));
    }

    static void Grow(TRect& box, float x, float y, float r)
    {
        box.x0 = std::min(box.x0, x - r);
        box.y0 = std::min(box.y0, y - r);
        box.x1 = std::max(box.x1, x + r);
        box.y1 = std::max(box.y1, y + r);
    }

    void Bounds(const TRect& r)
    {
        TPhysics::SetBounds(r.x0, r.y0, r.x1, r.y1);
        frame_ = r;
    }

    std::string folder_, file_, error_;
    std::vector<std::string> files_;
    int chosen_ = -1;
    TAdvBodyRef body_;
    TZoneRef zone_;
    std::vector<TMassRef> rain_;
    std::size_t next_ = 0;
    float rainX0_ = 0.0f, rainX1_ = 0.0f, rainY_ = 0.0f, rainRadius_ = 4.0f;
    TRect frame_{0.0f, 0.0f, 1000.0f, 700.0f};
    shared::Jitter jitter_;
    int steps_ = 0;
};
} // namespace

TSceneRef MakeViewer()
{
    return std::make_unique<TViewerScene>();
}

} // namespace ravel::samples

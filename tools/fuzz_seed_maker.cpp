// tools/fuzz_seed_maker.cpp: writes small files of every fuzzed format into a folder, as seeds beside
// the media: a body with and without an embedded image, zones of each style, and their quadtrees.
#include "physics/TAdvBody.h"
#include "physics/TPhysics.h"
#include "physics/TZone.h"
#include "platform/TImage.h"
#include "platform/TStream.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace ravel;

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* sub :
         {"fuzz_body_file", "fuzz_zone_file", "fuzz_quadtree", "fuzz_image", "fuzz_physics"})
        std::filesystem::create_directories(root / sub);
    TPhysics::Create(1000.0f, 1000.0f, 0.1f, 0.0f, 2);

    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = 3;
    pixmap->height = 2;
    pixmap->pixels.assign(3 * 2 * 4, 0x80);
    TImageRef image = TImage::FromPixmap(pixmap, -1);
    SavePixmapPNG(*pixmap, (root / "fuzz_image" / "tiny.png").string(), 9);

    TAdvBody body;
    const int a = body.MassAdd(10.0f, 10.0f, 1.0f, 4.0f, 0.5f, -1);
    const int b = body.MassAdd(30.0f, 10.0f, 2.0f, 4.0f, 0.5f, -1);
    const int c = body.MassAdd(20.0f, 30.0f, 0.0f, 0.0f, 0.0f, 0);
    body.MassSetName(a, "front");
    body.ConAdd(a, b, 20.0f, 0.5f);
    body.ConAdd(b, c, 0.0f, 1.0f);
    body.ConAdd(c, a, 25.0f, 0.0f);
    body.Save((root / "fuzz_body_file" / "plain.rvb").string(), 0, 1);
    body.ImageAdd(image);
    body.Save((root / "fuzz_body_file" / "image.rvb").string(), 0, 1);

    for (int style = TZone::LINE; style <= TZone::HOLE; ++style)
    {
        TZoneRef zone =
            TZone::Create({0.0f, 0.0f, 100.0f, 0.0f, 120.0f, 80.0f, 10.0f, 60.0f}, style, 0.5f, -1, 4);
        const std::string name = "style" + std::to_string(style);
        zone->SetName(name);
        if (style == TZone::FILL)
            zone->ImageSet(image);
        zone->Save((root / "fuzz_zone_file" / (name + ".rvz")).string(), 0, 1);
        if (zone->quadTree)
        {
            auto out = WriteStream((root / "fuzz_quadtree" / (name + ".qt")).string());
            zone->quadTree->Write(*out);
            CloseStream(out);
        }
        zone->Free();
    }
    TPhysics::Free();

    // The world builder reads its own layout off the bytes; a fixed pseudo-random run of them gives
    // it a start with several masses, constraints and a zone.
    std::uint32_t state = 12345u;
    std::string bytes;
    for (int k = 0; k < 400; ++k)
    {
        state = state * 1664525u + 1013904223u;
        bytes.push_back(static_cast<char>(state >> 24));
    }
    auto out = WriteStream((root / "fuzz_physics" / "world.bin").string());
    out->WriteString(bytes);
    CloseStream(out);
    return 0;
}

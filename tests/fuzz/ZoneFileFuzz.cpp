// tests/fuzz/ZoneFileFuzz.cpp: zone files from arbitrary bytes; what loads must save and load back to
// the same file.
#include "tests/fuzz/FuzzCommon.h"

#include "physics/TZone.h"

#include <cstdio>

using namespace ravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = fuzz::ScratchPath("in", ".rvz");
    const std::string first = fuzz::ScratchPath("first", ".rvz");
    const std::string second = fuzz::ScratchPath("second", ".rvz");
    fuzz::WriteFile(input, data, size);
    TZoneRef zone = TZone::Load(input);
    if (zone)
    {
        zone->Save(first, 0, 1);
        TZoneRef again = TZone::Load(first);
        fuzz::Check(again != nullptr, "a saved zone loads");
        fuzz::Check(again->origArea.size() == zone->origArea.size(), "vertex count survives");
        fuzz::Check(again->style == zone->style, "style survives");
        again->Save(second, 0, 1);
        fuzz::Check(fuzz::ReadFile(first) == fuzz::ReadFile(second) || fuzz::Keep(first, second),
                    "save, load, save is stable");
        again->Free();
        zone->Free();
    }
    std::remove(input.c_str());
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}

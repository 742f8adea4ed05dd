// samples/Registry.cpp: the list of scenes.
#include "samples/Registry.h"

#include <cctype>

namespace ravel::samples
{

const std::vector<TSceneEntry>& SceneList()
{
    static const std::vector<TSceneEntry> list = {
        {"Pile", &MakePile},     {"Cloth", &MakeCloth},
        {"Blobs", &MakeBlobs},   {"Bridge", &MakeBridge},
        {"Zones", &MakeZones},   {"Contacts", &MakeContacts},
        {"Car", &MakeCar},       {"Determinism", &MakeDeterminism},
        {"Viewer", &MakeViewer},
    };
    return list;
}

int FindScene(const std::string& name)
{
    const std::vector<TSceneEntry>& list = SceneList();
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        const std::string& n = list[i].name;
        bool same = n.size() == name.size();
        for (std::size_t k = 0; same && k < n.size(); ++k)
            same = std::tolower(static_cast<unsigned char>(n[k])) ==
                   std::tolower(static_cast<unsigned char>(name[k]));
        if (same)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace ravel::samples

// samples/Registry.h: the scenes of the samples, in the order of the list.
#pragma once
#include "samples/TScene.h"

#include <functional>
#include <string>
#include <vector>

namespace ravel::samples
{

/// One entry of the scene list: its name and how to make the scene (not yet built).
struct TSceneEntry
{
    std::string name;
    std::function<TSceneRef()> make;
};

/// Every scene, in list order; the file viewer is the last.
const std::vector<TSceneEntry>& SceneList();
/// The index of the scene with this name in the list, compared without case; -1 when none.
int FindScene(const std::string& name);

///@{
/// The scenes, each made unbuilt.
TSceneRef MakePile();
TSceneRef MakeCloth();
TSceneRef MakeBlobs();
TSceneRef MakeBridge();
TSceneRef MakeZones();
TSceneRef MakeContacts();
TSceneRef MakeCar();
TSceneRef MakeDeterminism();
TSceneRef MakeViewer();
///@}

} // namespace ravel::samples

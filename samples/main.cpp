// samples/main.cpp: the samples program: a window, the testbed, the frame loop.
//   samples [--sdl | --gl] [--scene NAME] [--size WxH] [FILE-OR-FOLDER]
#include "samples/Registry.h"
#include "samples/TSamplesWindow.h"
#include "samples/TTestbed.h"

#include "platform/Graphics2D.h"
#include "platform/Input.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace ravel;
using namespace ravel::samples;

int main(int argc, char** argv)
{
    bool openGL = true;
    int width = 1180, height = 760;
    std::string scene, path;
    for (int i = 1; i < argc; ++i)
    {
        std::string arg = argv[i];
        if (arg == "--sdl" || arg == "--gl")
            openGL = arg == "--gl";
        else if (arg == "--scene" && i + 1 < argc)
            scene = argv[++i];
        else if (arg == "--size" && i + 1 < argc && std::sscanf(argv[++i], "%dx%d", &width, &height) == 2)
            continue;
        else if (!arg.empty() && arg[0] != '-' && path.empty())
            path = arg;
        else
        {
            std::fprintf(stderr,
                         "usage: samples [--sdl | --gl] [--scene NAME] [--size WxH] [FILE-OR-FOLDER]\n");
            return 2;
        }
    }
    int index = scene.empty() ? 0 : FindScene(scene);
    if (index < 0)
    {
        std::fprintf(stderr, "samples: no scene named %s\n", scene.c_str());
        return 2;
    }

    TSamplesWindow window;
    if (!window.Open(openGL, width, height))
    {
        std::fprintf(stderr, "samples: cannot open a window: %s\n", window.error.c_str());
        return 1;
    }
    {
        TTestbed bed;
        if (!path.empty())
            bed.Drop(path);
        else
            bed.Open(index);
        while (!bed.quit && !AppTerminate())
        {
            TInput input = window.Poll();
            if (window.FollowResize())
                bed.FitView();
            bed.Frame(input);
            window.SetTitle(bed.Title());
            Flip(-1);
            if (bed.switchRenderer)
            {
                bed.switchRenderer = false;
                if (!window.SwitchRenderer())
                {
                    std::fprintf(stderr, "samples: cannot open a window: %s\n", window.error.c_str());
                    return 1;
                }
            }
        }
    }
    window.Close();
    return 0;
}

// A program outside the Ravel tree, built against the installed package.
#include "platform/TList.h"
#include "platform/TStream.h"

#include <cstdio>
#include <memory>

int main()
{
    ravel::TList<std::shared_ptr<int>> list;
    list.AddLast(std::make_shared<int>(7));
    ravel::TMemoryStream stream;
    stream.WriteInt(*list.First());
    stream.Seek(0);
    int value = stream.ReadInt();
    std::printf("read %d\n", value);
    return value == 7 ? 0 : 1;
}

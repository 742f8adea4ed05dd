// physics/TObject.cpp: the root object's out-of-line destructor anchors its vtable here.
#include "physics/TObject.h"

namespace ravel
{
TObject::~TObject() = default;

int TObject::EventKind() const
{
    return -1;
}

TMass* TObject::AsMass()
{
    return nullptr;
}

TZone* TObject::AsZone()
{
    return nullptr;
}
} // namespace ravel

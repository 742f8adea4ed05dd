// physics/TObject.cpp: the root object's out-of-line destructor anchors its vtable here.
#include "physics/TObject.h"

namespace ravel
{
TObject::~TObject() = default;
} // namespace ravel

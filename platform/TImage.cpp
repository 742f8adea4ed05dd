// platform/TImage.cpp: image loading and saving (to be filled in).
#include "platform/TImage.h"

namespace ravel
{
} // namespace ravel

// Tests of image decoding and encoding.
#include "platform/TImage.h"

#include <gtest/gtest.h>

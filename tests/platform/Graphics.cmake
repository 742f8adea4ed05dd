# Tests of the drawing front end, and of the drivers.

# The front end on a recording driver and a fake clock, the shared geometry, and the front end without
# a window system: it links neither SDL nor OpenGL.
ravel_test_executable(graphics_tests platform/Graphics2DTest.cpp platform/FakeDriver.h)
target_link_libraries(graphics_tests PRIVATE ravel_graphics)

if(NOT RAVEL_SDL)
  return()
endif()

# Pixels of the drivers on the shared test card: OpenGL in SDL's offscreen video driver (Mesa through
# EGL), the SDL renderer in memory and in an offscreen window.
ravel_test_executable(driver_pixel_tests platform/DriverPixelTest.cpp)
target_link_libraries(driver_pixel_tests PRIVATE ravel_sdl ravel_testcard SDL2::SDL2)

# One real window on an X server, when Xvfb is there (77: skipped).
add_test(NAME driver_pixel_tests.xvfb
         COMMAND sh -c "command -v Xvfb >/dev/null 2>&1 || exit 77; exec \"$1\" 640x480x24 env SDL_VIDEODRIVER=x11 RAVEL_XVFB=1 \"$0\" --gtest_filter=RealWindow.*"
                 $<TARGET_FILE:driver_pixel_tests> ${PROJECT_SOURCE_DIR}/tests/support/with-xvfb.sh)
set_tests_properties(driver_pixel_tests.xvfb PROPERTIES SKIP_RETURN_CODE 77 LABELS unit TIMEOUT 120)

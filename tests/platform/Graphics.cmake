# Tests of the drawing layer.

# The front end on a recording driver and a fake clock, and the shared geometry.
ravel_test_executable(graphics_tests platform/Graphics2DTest.cpp)
target_link_libraries(graphics_tests PRIVATE ravel_platform SDL2::SDL2)

# Pixels of the drivers on the shared test card: OpenGL in SDL's offscreen video driver (Mesa through
# EGL), the SDL renderer in memory and in an offscreen window.
ravel_test_executable(driver_pixel_tests platform/DriverPixelTest.cpp support/TestCard.cpp support/TestCard.h)
target_link_libraries(driver_pixel_tests PRIVATE ravel_platform SDL2::SDL2)

# One real window on an X server, when Xvfb is there (77: skipped).
add_test(NAME driver_pixel_tests.xvfb
         COMMAND sh -c "command -v Xvfb >/dev/null 2>&1 || exit 77; exec \"$1\" 640x480x24 env SDL_VIDEODRIVER=x11 RAVEL_XVFB=1 \"$0\" --gtest_filter=RealWindow.*"
                 $<TARGET_FILE:driver_pixel_tests> ${PROJECT_SOURCE_DIR}/tests/support/with-xvfb.sh)
set_tests_properties(driver_pixel_tests.xvfb PROPERTIES SKIP_RETURN_CODE 77 LABELS unit TIMEOUT 120)

# tools/draw-testcard: the test card drawn by one driver into a PNG, for looking at.
add_executable(draw-testcard ${PROJECT_SOURCE_DIR}/tools/draw-testcard.cpp support/TestCard.cpp)
target_include_directories(draw-testcard PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(draw-testcard PRIVATE ravel_platform)
ravel_target_defaults(draw-testcard)
add_test(NAME draw-testcard.png COMMAND draw-testcard sdl ${CMAKE_CURRENT_BINARY_DIR}/testcard-sdl.png)
set_tests_properties(draw-testcard.png PROPERTIES LABELS unit)

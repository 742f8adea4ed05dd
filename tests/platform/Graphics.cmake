# Tests of the drawing layer.

# The front end on a recording driver and a fake clock, and the shared geometry.
ravel_test_executable(graphics_tests platform/Graphics2DTest.cpp)
target_link_libraries(graphics_tests PRIVATE ravel_platform SDL2::SDL2)

# The car demo's frame on the software renderer at 800 x 600: car and step, and the whole frame.
# The car is driven by the tests' autopilot (a header); the fixture header it includes declares a
# GoogleTest fixture that the benchmark never instantiates, so gtest's headers suffice.
ravel_benchmark(demo_bench ${CMAKE_CURRENT_LIST_DIR}/DemoBench.cpp)
target_link_libraries(demo_bench PRIVATE ravel_demo SDL2::SDL2)

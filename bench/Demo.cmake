# The car demo's frame on the software renderer at 800 x 600: car and step, and the whole frame,
# with the car driven round the circuit by the autopilot of scenes/demo.
if(RAVEL_SDL)
  ravel_benchmark(demo_bench ${CMAKE_CURRENT_LIST_DIR}/DemoBench.cpp)
  target_link_libraries(demo_bench PRIVATE ravel_demo_drive)
endif()

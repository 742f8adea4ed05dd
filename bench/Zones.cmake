# Benchmarks of zones: stepping over zones, single collisions, quadtree builds, loading zone files.
ravel_benchmark(zone_bench ${CMAKE_CURRENT_LIST_DIR}/ZoneBench.cpp)
target_link_libraries(zone_bench PRIVATE ravel_physics)

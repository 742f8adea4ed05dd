# Benchmarks of the step.
ravel_benchmark(core_bench ${CMAKE_CURRENT_LIST_DIR}/CoreBench.cpp)
target_link_libraries(core_bench PRIVATE ravel_scenes)

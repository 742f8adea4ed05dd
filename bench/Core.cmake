# Benchmarks of the step.
ravel_benchmark(core_bench ${CMAKE_CURRENT_LIST_DIR}/CoreBench.cpp ${CMAKE_CURRENT_LIST_DIR}/Scenes.h)
target_link_libraries(core_bench PRIVATE ravel_physics)

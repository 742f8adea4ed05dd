# Benchmarks of the step.
ravel_benchmark(core_bench ${CMAKE_CURRENT_LIST_DIR}/CoreBench.cpp ${CMAKE_CURRENT_LIST_DIR}/Scenes.h
  ${CMAKE_CURRENT_LIST_DIR}/kernel/Kernel.h)
target_link_libraries(core_bench PRIVATE ravel_physics)

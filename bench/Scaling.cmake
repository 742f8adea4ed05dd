# The pile from 500 to 16,000 masses, grid on and off; tools/plot-scaling.py draws its JSON output.
ravel_benchmark(scaling_bench ${CMAKE_CURRENT_LIST_DIR}/ScalingBench.cpp ${CMAKE_CURRENT_LIST_DIR}/Scenes.h)
target_link_libraries(scaling_bench PRIVATE ravel_physics)

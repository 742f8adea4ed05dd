# The pile from 500 to 16,000 masses, grid on and off; tools/plot-scaling.py draws its JSON output.
ravel_benchmark(scaling_bench ${CMAKE_CURRENT_LIST_DIR}/ScalingBench.cpp)
target_link_libraries(scaling_bench PRIVATE ravel_scenes)
# `cmake --build <dir> --target plot-scaling`: runs the benchmark and redraws docs/scaling.png from
# its JSON (needs Debian's python3-matplotlib; takes about four minutes).
add_custom_target(plot-scaling
  COMMAND scaling_bench --benchmark_out=${CMAKE_CURRENT_BINARY_DIR}/scaling.json --benchmark_out_format=json
  COMMAND ${PROJECT_SOURCE_DIR}/tools/plot-scaling.py ${CMAKE_CURRENT_BINARY_DIR}/scaling.json
          -o ${PROJECT_SOURCE_DIR}/docs/scaling.png
  DEPENDS scaling_bench
  USES_TERMINAL
  VERBATIM)

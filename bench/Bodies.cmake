# Benchmarks of bodies: loading body files.
ravel_benchmark(body_bench ${CMAKE_CURRENT_LIST_DIR}/BodyBench.cpp)
target_link_libraries(body_bench PRIVATE ravel_physics)

# Tests of the world, the step, masses, constraints and events.
ravel_test_executable(core_tests
  ${CMAKE_CURRENT_LIST_DIR}/TPhysicsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TMassTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TConstraintTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TColEventTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StepTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FinitenessTest.cpp
)
target_link_libraries(core_tests PRIVATE ravel_physics)

# The golden digests and the bit-for-bit kernel: binaries of their own, so that optimised builds of
# each compiler can build and run just these (the golden-gcc and golden-clang presets). The kernel
# takes most of the unit suite's time: it runs under its own label, in CI and in those presets, and
# not in the dev preset's quick run.
ravel_test_executable(golden_tests ${CMAKE_CURRENT_LIST_DIR}/GoldenTest.cpp)
target_link_libraries(golden_tests PRIVATE ravel_scenes)
ravel_test_executable(kernel_tests LABEL kernel UNSHUFFLED ${CMAKE_CURRENT_LIST_DIR}/KernelTest.cpp)
target_link_libraries(kernel_tests PRIVATE ravel_scenes)

# Counts heap allocations through a replaced global operator new, which the sanitizers' own
# allocator must not be mixed with.
if(NOT RAVEL_SANITIZE)
  ravel_test_executable(allocation_tests ${CMAKE_CURRENT_LIST_DIR}/AllocationTest.cpp)
  target_link_libraries(allocation_tests PRIVATE ravel_scenes)
endif()

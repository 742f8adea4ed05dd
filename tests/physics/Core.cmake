# Tests of the world, the step, masses, constraints and events.
ravel_test_executable(core_tests
  ${CMAKE_CURRENT_LIST_DIR}/TPhysicsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TMassTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TConstraintTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TColEventTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StepTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GoldenTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KernelTest.cpp
)
target_link_libraries(core_tests PRIVATE ravel_physics)

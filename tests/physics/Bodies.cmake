# Tests of indexed bodies, rigs and body files.
ravel_test_executable(body_tests
  ${CMAKE_CURRENT_LIST_DIR}/TRigTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TAdvBodyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TAdvBodyMotionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BodyFileTest.cpp
)
target_link_libraries(body_tests PRIVATE ravel_physics)

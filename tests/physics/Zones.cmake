# Tests of zones and quadtrees.
ravel_test_executable(zone_tests
  ${CMAKE_CURRENT_LIST_DIR}/TQuadTreeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZoneTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZoneFileTest.cpp
)
target_link_libraries(zone_tests PRIVATE ravel_physics)

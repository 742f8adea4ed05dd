# Sources of zones and quadtrees, added to ravel_physics.
target_sources(ravel_physics PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TQuadTree.h ${CMAKE_CURRENT_LIST_DIR}/TQuadTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZone.h ${CMAKE_CURRENT_LIST_DIR}/TZone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZoneCollide.cpp ${CMAKE_CURRENT_LIST_DIR}/ZoneFile.cpp
)

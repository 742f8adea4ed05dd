# Sources of indexed bodies and rigs, added to ravel_physics.
target_sources(ravel_physics PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TRig.h ${CMAKE_CURRENT_LIST_DIR}/TRig.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TAdvBody.h ${CMAKE_CURRENT_LIST_DIR}/TAdvBody.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BodyElements.cpp ${CMAKE_CURRENT_LIST_DIR}/BodyMotion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BodyFile.cpp
)

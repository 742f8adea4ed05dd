# Sources of the input layer (keyboard, pointer, joystick, event pump), added to ravel_platform.
target_sources(ravel_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Input.cpp ${CMAKE_CURRENT_LIST_DIR}/Input.h
  ${CMAKE_CURRENT_LIST_DIR}/Joystick.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeyCodes.h
  ${CMAKE_CURRENT_LIST_DIR}/detail/Events.h)

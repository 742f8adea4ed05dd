# Tests of the input layer: SDL events pushed into the queue and SDL's virtual joysticks, no display.
ravel_test_executable(input_tests
  platform/InputTest.cpp
  platform/JoystickTest.cpp
)
target_link_libraries(input_tests PRIVATE ravel_platform SDL2::SDL2)

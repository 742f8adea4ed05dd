# Tests of the SDL library's window system: SDL events pushed into the queue and SDL's virtual
# joysticks, no display; focus changes reaching the graphics.
ravel_test_executable(input_tests
  platform/InputTest.cpp
  platform/JoystickTest.cpp
  platform/SDLWindowSystemTest.cpp
)
target_link_libraries(input_tests PRIVATE ravel_sdl SDL2::SDL2)

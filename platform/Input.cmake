# Sources of the input layer (keyboard, pointer, joystick, event pump), added to ravel_platform.
target_sources(ravel_platform PRIVATE)

# Sources of the drawing layer, added to ravel_platform.
target_sources(ravel_platform PRIVATE
  DefaultFont8x16.inc
  DisplayModes.cpp detail/DisplayModes.h
  TClock.cpp TClock.h
  TDriver2D.cpp TDriver2D.h detail/ShapeDriver2D.h
  TGLDriver2D.cpp TGLDriver2D.h
  TImageFont.cpp TImageFont.h
  TSDLDriver2D.cpp TSDLDriver2D.h
)
# dlopen: Xlib, which SDL loads for its X11 driver, is reached through it.
target_link_libraries(ravel_platform PRIVATE ${CMAKE_DL_LIBS})

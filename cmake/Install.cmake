# Installs the libraries, their public headers and a CMake package, so that other projects can
# find_package(Ravel) and link Ravel::physics (and Ravel::sdl for windows, input and the drivers).
include(CMakePackageConfigHelpers)

set(RAVEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/ravel)
set(RAVEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Ravel)

# The public headers, by path from the source root, installed under include/ravel as they are
# included: the platform's by name, every header of physics/ and physics/api/ (not their detail/
# folders). cmake/InstallHeaders.cmake adds what those headers include of the project's own, so that
# the installed set always compiles; nothing else goes: no source of the SDL library, no helper that
# only the library's own sources use.
set(RAVEL_CORE_HEADERS
  platform/DegMath.h platform/FileSystem.h platform/Poison.h platform/Random.h platform/TImage.h
  platform/TList.h platform/TStream.h)
set(RAVEL_GRAPHICS_HEADERS
  platform/Graphics2D.h platform/Input.h platform/KeyCodes.h platform/TClock.h platform/TDriver2D.h
  platform/TImageFont.h platform/TWindowSystem.h)
set(RAVEL_PHYSICS_HEADER_GLOBS physics/*.h physics/api/*.h)
set(RAVEL_SDL_HEADERS platform/TGLDriver2D.h platform/TSDLDriver2D.h)

install(TARGETS ravel_core ravel_graphics ravel_physics ravel_physics_api
        EXPORT RavelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${RAVEL_INSTALL_INCLUDEDIR})
install(EXPORT RavelTargets NAMESPACE Ravel:: DESTINATION ${RAVEL_INSTALL_CMAKEDIR})

# The SDL library in an export of its own, which the package loads only where SDL2 and OpenGL are
# found: a program that only simulates needs neither, even from an install that has the library.
set(ravel_public_headers ${RAVEL_CORE_HEADERS} ${RAVEL_GRAPHICS_HEADERS})
if(RAVEL_SDL)
  install(TARGETS ravel_sdl
          EXPORT RavelSDLTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          INCLUDES DESTINATION ${RAVEL_INSTALL_INCLUDEDIR})
  install(EXPORT RavelSDLTargets NAMESPACE Ravel:: DESTINATION ${RAVEL_INSTALL_CMAKEDIR})
  list(APPEND ravel_public_headers ${RAVEL_SDL_HEADERS})
endif()

# The headers are listed when installing, not when configuring, so that a header added to physics/
# or an include changed since is never missed.
install(CODE "
  set(RAVEL_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(RAVEL_HEADER_DESTINATION \"${RAVEL_INSTALL_INCLUDEDIR}\")
  set(RAVEL_PUBLIC_HEADERS \"${ravel_public_headers}\")
  set(RAVEL_PUBLIC_HEADER_GLOBS \"${RAVEL_PHYSICS_HEADER_GLOBS}\")")
install(SCRIPT cmake/InstallHeaders.cmake)

configure_package_config_file(cmake/RavelConfig.cmake.in ${PROJECT_BINARY_DIR}/RavelConfig.cmake
                              INSTALL_DESTINATION ${RAVEL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/RavelConfig.cmake ${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
        DESTINATION ${RAVEL_INSTALL_CMAKEDIR})

# The licence, and the built-in font's own beside it, travel with the package.
install(FILES LICENSE platform/DefaultFont8x16.LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ravel)

# Installs the libraries, their public headers and a CMake package, so that other projects can
# find_package(Ravel) and link Ravel::physics (and Ravel::sdl for windows, input and the drivers).
include(CMakePackageConfigHelpers)

set(RAVEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/ravel)
set(RAVEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Ravel)

# The public headers of each library, by path from the source root, installed under include/ravel as
# they are included. Nothing else: no detail/ folder, no source of the SDL library, no helper that
# only the library's own sources use.
set(RAVEL_CORE_HEADERS
  platform/DegMath.h platform/FileSystem.h platform/Poison.h platform/Random.h platform/TImage.h
  platform/TList.h platform/TStream.h)
set(RAVEL_GRAPHICS_HEADERS
  platform/Graphics2D.h platform/Input.h platform/KeyCodes.h platform/TClock.h platform/TDriver2D.h
  platform/TImageFont.h platform/TWindowSystem.h)
set(RAVEL_PHYSICS_HEADERS
  physics/Refs.h physics/TAdvBody.h physics/TBody.h physics/TColEvent.h physics/TConstraint.h
  physics/TMass.h physics/TObject.h physics/TPhysics.h physics/TQuadTree.h physics/TRig.h physics/TZone.h
  # Still included by TMass.h and TPhysics.h; to go once those headers stop including detail/.
  physics/detail/EventCache.h physics/detail/Grid.h physics/detail/UserCode.h)
set(RAVEL_PHYSICS_API_HEADERS
  physics/api/AdvBodyApi.h physics/api/Api.h physics/api/BodyApi.h physics/api/ColEventApi.h
  physics/api/ConstraintApi.h physics/api/MassApi.h physics/api/PhysicsApi.h physics/api/RigApi.h
  physics/api/ZoneApi.h)
set(RAVEL_SDL_HEADERS platform/TGLDriver2D.h platform/TSDLDriver2D.h)

function(ravel_install_headers)
  foreach(header IN LISTS ARGN)
    get_filename_component(dir ${header} DIRECTORY)
    install(FILES ${header} DESTINATION ${RAVEL_INSTALL_INCLUDEDIR}/${dir})
  endforeach()
endfunction()

install(TARGETS ravel_core ravel_graphics ravel_physics ravel_physics_api
        EXPORT RavelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${RAVEL_INSTALL_INCLUDEDIR})
ravel_install_headers(${RAVEL_CORE_HEADERS} ${RAVEL_GRAPHICS_HEADERS} ${RAVEL_PHYSICS_HEADERS}
                      ${RAVEL_PHYSICS_API_HEADERS})
install(EXPORT RavelTargets NAMESPACE Ravel:: DESTINATION ${RAVEL_INSTALL_CMAKEDIR})

# The SDL library in an export of its own, which the package loads only where SDL2 and OpenGL are
# found: a program that only simulates needs neither, even from an install that has the library.
if(RAVEL_SDL)
  install(TARGETS ravel_sdl
          EXPORT RavelSDLTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          INCLUDES DESTINATION ${RAVEL_INSTALL_INCLUDEDIR})
  ravel_install_headers(${RAVEL_SDL_HEADERS})
  install(EXPORT RavelSDLTargets NAMESPACE Ravel:: DESTINATION ${RAVEL_INSTALL_CMAKEDIR})
endif()

configure_package_config_file(cmake/RavelConfig.cmake.in ${PROJECT_BINARY_DIR}/RavelConfig.cmake
                              INSTALL_DESTINATION ${RAVEL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/RavelConfig.cmake ${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
        DESTINATION ${RAVEL_INSTALL_CMAKEDIR})

# The licence, and the built-in font's own beside it, travel with the package.
install(FILES LICENSE platform/DefaultFont8x16.LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ravel)

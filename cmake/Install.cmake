# Installs headers, static libraries and a CMake package so that other projects can
# find_package(Ravel) and link Ravel::physics.
include(CMakePackageConfigHelpers)

install(TARGETS ravel_platform ravel_physics ravel_physics_api
        EXPORT RavelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ravel)
install(DIRECTORY platform physics
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ravel
        FILES_MATCHING PATTERN "*.h")
install(EXPORT RavelTargets NAMESPACE Ravel:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Ravel)
configure_package_config_file(cmake/RavelConfig.cmake.in ${PROJECT_BINARY_DIR}/RavelConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Ravel)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/RavelConfig.cmake ${PROJECT_BINARY_DIR}/RavelConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Ravel)

# The licence, and the built-in font's own beside it, travel with the package.
install(FILES LICENSE platform/DefaultFont8x16.LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/ravel)

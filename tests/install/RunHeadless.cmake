# Script mode: configure the source with SDL2 and OpenGL out of reach, build and install what that
# gives, then build the hello-world against the install, run it and list what it loads.
include(${CMAKE_CURRENT_LIST_DIR}/Steps.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(no_window_system -DCMAKE_DISABLE_FIND_PACKAGE_SDL2=ON -DCMAKE_DISABLE_FIND_PACKAGE_OpenGL=ON)

ravel_step("configure without SDL2 and OpenGL"
           ${CMAKE_COMMAND} -S ${RAVEL_SOURCE_DIR} -B ${WORK_DIR}/ravel -G ${GENERATOR}
           -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_C_COMPILER=${C_COMPILER}
           -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DRAVEL_TESTS=OFF ${no_window_system})
# Only the libraries the package exports: the examples and tools are built by the tree under test.
ravel_step("build" ${CMAKE_COMMAND} --build ${WORK_DIR}/ravel --parallel 2
           --target ravel_core ravel_graphics ravel_physics)
ravel_step("install" ${CMAKE_COMMAND} --install ${WORK_DIR}/ravel --prefix ${prefix})
ravel_expect_installed(${prefix} share/doc/ravel/LICENSE include/ravel/physics/TPhysics.h
                       include/ravel/physics/api/Api.h lib/cmake/Ravel/RavelConfig.cmake)
foreach(absent lib/cmake/Ravel/RavelSDLTargets.cmake include/ravel/platform/TGLDriver2D.h
               include/ravel/platform/sdl)
  if(EXISTS ${prefix}/${absent})
    message(FATAL_ERROR "an install without SDL2 has ${absent}")
  endif()
endforeach()

ravel_step("hello-world configure" ${CMAKE_COMMAND} -S ${HELLO_PROJECT} -B ${WORK_DIR}/hello -G ${GENERATOR}
           -DCMAKE_PREFIX_PATH=${prefix} -DHELLO_SOURCE=${HELLO_SOURCE} ${no_window_system})
ravel_step("hello-world build" ${CMAKE_COMMAND} --build ${WORK_DIR}/hello)
set(hello ${WORK_DIR}/hello/hello)
ravel_step("hello-world" ${hello})
message(STATUS "hello said:\n${step_output}")
if(NOT step_output MATCHES "step 120: corner 0 at")
  message(FATAL_ERROR "the hello-world did not run its 120 steps")
endif()

ravel_step("ldd" ldd ${hello})
message(STATUS "hello loads:\n${step_output}")
string(REGEX MATCHALL "lib(SDL2|GL|GLX|GLdispatch|EGL|OpenGL)[-.][^ \t\n]*" loaded "${step_output}")
if(loaded)
  message(FATAL_ERROR "a program that only simulates loads ${loaded}")
endif()

# Script mode: install this build tree to a scratch prefix, configure and build the consumer, run it.
include(${CMAKE_CURRENT_LIST_DIR}/Steps.cmake)
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
ravel_step("install" ${CMAKE_COMMAND} --install ${RAVEL_BUILD_DIR} --prefix ${prefix})
ravel_expect_installed(${prefix} share/doc/ravel/LICENSE share/doc/ravel/DefaultFont8x16.LICENSE)

ravel_step("consumer configure" ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR}
           -DCMAKE_PREFIX_PATH=${prefix} -DRAVEL_SDL=${RAVEL_SDL})
ravel_step("consumer build" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
ravel_step("consumer" ${WORK_DIR}/build/consumer)
message(STATUS "consumer said: ${step_output}")
if(RAVEL_SDL)
  ravel_step("drawing consumer" ${WORK_DIR}/build/draw)
  message(STATUS "drawing consumer said: ${step_output}")
endif()

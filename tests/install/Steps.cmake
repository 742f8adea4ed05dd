# Included by the install tests' scripts: one step of a test, which ends the test when it fails.
function(ravel_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

# Fails unless every file is there under the prefix.
function(ravel_expect_installed prefix)
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "the install left out ${file}")
    endif()
  endforeach()
endfunction()

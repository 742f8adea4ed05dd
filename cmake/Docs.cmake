# The `docs` target: Doxygen over the public headers (physics/, physics/api/, platform/, not their
# detail/ folders) and docs/GUIDE.md, written to <build>/docs/html. A public declaration without a
# documentation comment is a warning, and any warning fails the target.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()
find_program(DOXYGEN doxygen)
if(DOXYGEN)
  set(RAVEL_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${RAVEL_DOCS_OUTPUT}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND ${DOXYGEN} ${RAVEL_DOCS_OUTPUT}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Doxygen: API reference in ${RAVEL_DOCS_OUTPUT}/html"
    VERBATIM)
else()
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E echo "docs: doxygen not found; tools/install-deps.sh installs it"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()

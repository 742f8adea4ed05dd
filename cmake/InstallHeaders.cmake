# Run by `cmake --install`: installs the public headers (RAVEL_PUBLIC_HEADERS, and the files matching
# RAVEL_PUBLIC_HEADER_GLOBS, by path from RAVEL_SOURCE_DIR) under RAVEL_HEADER_DESTINATION, together
# with every header of the project they include, directly or through others. A header that is not
# public but that a public one includes is named as it goes: the public header should stop needing it.
cmake_policy(VERSION 3.25)
set(public ${RAVEL_PUBLIC_HEADERS})
foreach(pattern IN LISTS RAVEL_PUBLIC_HEADER_GLOBS)
  file(GLOB matches RELATIVE ${RAVEL_SOURCE_DIR} ${RAVEL_SOURCE_DIR}/${pattern})
  list(APPEND public ${matches})
endforeach()
list(SORT public)

set(pending ${public})
set(headers)
set(named)
while(pending)
  list(POP_FRONT pending header)
  if(header IN_LIST headers)
    continue()
  endif()
  list(APPEND headers ${header})
  file(STRINGS ${RAVEL_SOURCE_DIR}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
    if(EXISTS ${RAVEL_SOURCE_DIR}/${included})
      if(NOT included IN_LIST public AND NOT included IN_LIST named)
        message(STATUS "Ravel: ${included} is not public, but ${header} includes it: installed with it")
        list(APPEND named ${included})
      endif()
      list(APPEND pending ${included})
    endif()
  endforeach()
endwhile()

foreach(header IN LISTS headers)
  get_filename_component(dir ${header} DIRECTORY)
  file(INSTALL DESTINATION ${CMAKE_INSTALL_PREFIX}/${RAVEL_HEADER_DESTINATION}/${dir} TYPE FILE
       FILES ${RAVEL_SOURCE_DIR}/${header})
endforeach()

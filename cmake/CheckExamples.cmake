# Installs the build in BUILD_DIR to a private prefix, then configures, builds and
# runs the examples against that prefix, as a user of the package would.
set(prefix ${BUILD_DIR}/examples-check/install)
set(binary ${BUILD_DIR}/examples-check/build)
file(REMOVE_RECURSE ${BUILD_DIR}/examples-check)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
# An installed header that reaches into an internal/ folder would not compile for a
# user: those headers are not installed.
file(GLOB_RECURSE installed_headers ${prefix}/include/*.h)
foreach(header IN LISTS installed_headers)
  file(STRINGS ${header} internal_includes REGEX "#include .*/internal/")
  if(internal_includes)
    message(FATAL_ERROR "${header} includes a header that is not installed: ${internal_includes}")
  endif()
endforeach()

run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${binary} -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${binary})
run(${binary}/show_angles)
run(${binary}/grid_round_trip)

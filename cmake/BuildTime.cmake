# The release's build time, in seconds since 1970: SOURCE_DATE_EPOCH when it
# is set, else the time of the commit checked out. The saver's PE time stamp
# is this time, not the moment of linking, so that a commit always gives the
# same bytes.
if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -DSOURCE_DIR=... -DOUTPUT=... -P BuildTime.cmake: run on every build;
  # it rewrites OUTPUT only when the time changes, which links the saver again.
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(time "$ENV{SOURCE_DATE_EPOCH}")
  else()
    execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
      OUTPUT_VARIABLE time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT time MATCHES "^[0-9]+$")
    message(STATUS "no SOURCE_DATE_EPOCH and no git commit: the build time is 0 (1970)")
    set(time 0)
  endif()
  set(old "")
  if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
  endif()
  if(NOT old STREQUAL "${time}\n")
    file(WRITE "${OUTPUT}" "${time}\n")
  endif()
  return()
endif()

# embrix_build_time(target): links the target with the build time of
# <build>/build-time.txt as SOURCE_DATE_EPOCH, which GNU ld writes as the PE
# time stamp (tools/make-dist reads the same file).
function(embrix_build_time target)
  set(file ${CMAKE_BINARY_DIR}/build-time.txt)
  if(NOT TARGET embrix_build_time)
    add_custom_target(embrix_build_time BYPRODUCTS ${file}
      COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT=${file}
              -P ${PROJECT_SOURCE_DIR}/cmake/BuildTime.cmake)
  endif()
  add_dependencies(${target} embrix_build_time)
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${file}
    CXX_LINKER_LAUNCHER "sh;${PROJECT_SOURCE_DIR}/cmake/link-at-build-time.sh;${file}")
endfunction()

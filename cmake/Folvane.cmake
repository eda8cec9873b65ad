# Helpers shared by every folder's CMakeLists.txt.

# folvane_add_library(<name> SOURCES ... [LIBS ...])
# One library target per subsystem folder, named folvane_<folder>. Headers are included
# as "<folder>/Header.h" from the source root.
function(folvane_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# folvane_add_test(<name> SOURCES ... [LIBS ...])
# A GoogleTest executable linked with the shared test main and fixtures; every TEST is a
# ctest case. Tests run on the offscreen platform with a temporary HOME, and find the source
# tree and the built programs in $FOLVANE_SOURCE_DIR and $FOLVANE_BIN_DIR (see tests/support).
function(folvane_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE folvane_testsupport ${ARG_LIBS})
  # ENABLE_EXPORTS: a test that enters web mode loads the web module, which takes the
  # program's functions from the executable.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests ENABLE_EXPORTS ON)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()

# GoogleTest built from the Debian sources with our cross compiler, and the helper that adds one
# test binary per library, each run under Wine through CTest.
enable_testing()
include(GoogleTest)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# korval_add_test(<name> SOURCES <files...> LIBRARIES <libs...> [LOCK <resource>])
# LOCK serialises the binary's tests with every other test holding the same lock (the registry).
# Links our own main (crash filter, locale), so a crashing test fails the run instead of passing.
function(korval_add_test name)
  cmake_parse_arguments(arg "SERIAL" "LOCK" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} korval_test_main GTest::gtest GTest::gmock)
  korval_test_code(${name})
  set(properties TIMEOUT 120)
  if(arg_LOCK)
    list(APPEND properties RESOURCE_LOCK ${arg_LOCK})
  endif()
  if(arg_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# Nearly every file parses windows.h and the same standard headers again, and every test file
# GoogleTest on top: each set is parsed once into a precompiled header that the targets of its kind
# reuse. A header that no longer matches a file's flags is only parsed again (-Winvalid-pch warns),
# so this changes the time of a build, never what it builds.
#
# Test code (test files, test doubles, GoogleTest) is compiled without optimisation: it is compiled
# far more often than it runs long, and it still calls the product's code built with the programs'
# own flags.

add_library(korval_precompiled_product STATIC ${CMAKE_CURRENT_LIST_DIR}/precompiled/empty.cpp)
# Named through headers of our own (cmake/precompiled): CMake marks its generated header a system
# header, and GCC then warns of the standard library's own code.
target_precompile_headers(korval_precompiled_product PRIVATE ${CMAKE_CURRENT_LIST_DIR}/precompiled/product.h)

set(KORVAL_TEST_OPTIONS -O0)
add_library(korval_precompiled_test STATIC ${CMAKE_CURRENT_LIST_DIR}/precompiled/empty.cpp)
target_link_libraries(korval_precompiled_test PRIVATE GTest::gtest GTest::gmock)
target_compile_options(korval_precompiled_test PRIVATE ${KORVAL_TEST_OPTIONS})
target_precompile_headers(korval_precompiled_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/precompiled/test.h)

# korval_product_code(<targets...>): product code, with the programs' flags.
function(korval_product_code)
  foreach(target ${ARGN})
    target_precompile_headers(${target} REUSE_FROM korval_precompiled_product)
  endforeach()
endfunction()

# korval_test_code(<targets...>): test files, test doubles and the test programs' own code.
function(korval_test_code)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE ${KORVAL_TEST_OPTIONS})
    target_link_libraries(${target} PRIVATE GTest::gtest GTest::gmock)
    target_precompile_headers(${target} REUSE_FROM korval_precompiled_test)
  endforeach()
endfunction()

# Target part: i686 Windows, statically linked, GBK literals.
# Tests run under Wine through scripts/wine-run (the crosscompiling emulator).
if(NOT VORRIK_TOP_BINARY_DIR)
  set(VORRIK_TOP_BINARY_DIR ${CMAKE_BINARY_DIR})
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run --build ${VORRIK_TOP_BINARY_DIR})

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(vorrik_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(vorrik_portable PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(vorrik_portable PRIVATE ${VORRIK_WARNINGS} -O2)
target_compile_options(vorrik_portable PUBLIC ${VORRIK_CHARSET})

include(cmake/program.cmake)
include(cmake/skin_target.cmake OPTIONAL)

# GoogleTest for the target, from Debian's source package.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)
include(tests/win/tests.cmake)
include(tests/e2e/tests.cmake)
include(bench/bench.cmake OPTIONAL)

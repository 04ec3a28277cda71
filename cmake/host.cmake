# Host part: portable library, build tools and native unit tests, then the
# target part as an external project with the cross toolchain.
option(VORRIK_SANITIZE "Build the native tests with ASan and UBSan" ON)

find_package(GTest REQUIRED)
include(GoogleTest)

add_library(vorrik_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(vorrik_portable PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(vorrik_portable PRIVATE ${VORRIK_WARNINGS})
target_compile_options(vorrik_portable PUBLIC ${VORRIK_CHARSET})
if(VORRIK_SANITIZE)
  target_compile_options(vorrik_portable PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(vorrik_portable PUBLIC -fsanitize=address,undefined)
endif()

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
list(APPEND UNIT_TEST_SOURCES ${PROJECT_SOURCE_DIR}/tests/fuzz/read_everything.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE vorrik_portable GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${VORRIK_WARNINGS})
gtest_discover_tests(unit_tests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 30)

include(cmake/host_tools.cmake OPTIONAL)
include(cmake/skin_host.cmake OPTIONAL)

option(VORRIK_HOST_ONLY "Build only the host part (no cross compiler needed)" OFF)
if(VORRIK_HOST_ONLY)
  return()
endif()

include(ExternalProject)
set(VORRIK_TARGET_DIR ${CMAKE_BINARY_DIR}/target)
ExternalProject_Add(target
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${VORRIK_TARGET_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/i686-w64-mingw32.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DVORRIK_TOP_BINARY_DIR=${CMAKE_BINARY_DIR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON
  DEPENDS ${VORRIK_HOST_GENERATED})

# ctest from the top build directory runs the target part's tests too.
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${VORRIK_TARGET_DIR}/CTestTestfile.cmake)

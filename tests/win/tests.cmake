# Win32 tests: GoogleTest built for the target, run under Wine.
file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES})
target_link_libraries(win_tests PRIVATE vorrik_shell gmock gtest_main)
target_compile_options(win_tests PRIVATE ${VORRIK_WARNINGS})
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 120)

# The test library under two names, so that release order can be seen.
add_library(test_library SHARED tests/win/test_library.cpp)
set_target_properties(test_library PROPERTIES PREFIX "")
add_custom_command(TARGET test_library POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:test_library> ${CMAKE_BINARY_DIR}/test_library_a.dll
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:test_library> ${CMAKE_BINARY_DIR}/test_library_b.dll)
add_dependencies(win_tests test_library)

# Screenshots the kinds' tests save for people to look at.
target_compile_definitions(win_tests PRIVATE VORRIK_WIN_SCREENSHOT_DIR="${VORRIK_TOP_BINARY_DIR}/screenshots")

# The browser control's tests: a local HTTP server (Winsock), memory figures,
# and a catcher program registered for a link scheme.
target_link_libraries(win_tests PRIVATE ws2_32 psapi advapi32)
add_executable(link_catcher WIN32 tests/win/programs/link_catcher.cpp)
add_dependencies(win_tests link_catcher)

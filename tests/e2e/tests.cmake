# End-to-end: the real vorrik.exe, started in a fresh directory and driven
# from outside by our UI probe.
add_library(ui_probe STATIC tests/e2e/probe.cpp)
target_include_directories(ui_probe PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(ui_probe PUBLIC user32 kernel32 shell32)
target_compile_options(ui_probe PRIVATE ${VORRIK_WARNINGS})
target_compile_options(ui_probe PUBLIC ${VORRIK_CHARSET})

add_executable(probe tests/e2e/probe_main.cpp)
target_link_libraries(probe PRIVATE ui_probe)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*_test.cpp)
list(APPEND E2E_TEST_SOURCES tests/e2e/e2e_support.cpp)
add_executable(e2e_tests ${E2E_TEST_SOURCES})
target_link_libraries(e2e_tests PRIVATE ui_probe vorrik_shell gmock gtest_main)
target_compile_definitions(e2e_tests PRIVATE VORRIK_EXE="$<TARGET_FILE:vorrik>"
                           VORRIK_SCREENSHOT_DIR="${VORRIK_TOP_BINARY_DIR}/screenshots"
                           VORRIK_ENGINE_FILE="${CMAKE_BINARY_DIR}/skinengine/SkinH_EL.dll")
target_compile_options(e2e_tests PRIVATE ${VORRIK_WARNINGS})
add_dependencies(e2e_tests vorrik)
gtest_discover_tests(e2e_tests TEST_PREFIX "e2e." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES RESOURCE_LOCK wine_desktop TIMEOUT 120)

# The program imports only system libraries.
add_test(NAME e2e.ImportsOnlySystemLibraries
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:vorrik>
                 -P ${PROJECT_SOURCE_DIR}/tests/e2e/check_imports.cmake)

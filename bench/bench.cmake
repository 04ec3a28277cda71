# Benchmarks: built with the program, run on demand (never as tests):
#   cmake --build build/target --target bench_startup
add_executable(minimal_window WIN32 bench/minimal_window.cpp)
target_link_options(minimal_window PRIVATE -mwindows -s)

add_executable(bench_startup_runner bench/startup.cpp)
target_link_libraries(bench_startup_runner PRIVATE psapi)
target_compile_options(bench_startup_runner PRIVATE ${VORRIK_WARNINGS})
add_custom_target(bench_startup
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:bench_startup_runner>
          $<TARGET_FILE:vorrik> $<TARGET_FILE:minimal_window> 7
  DEPENDS bench_startup_runner minimal_window vorrik
  USES_TERMINAL)

# The program: shell, windows, kinds, forms and skinning on top of the
# portable library, and the resources it carries.
set(VORRIK_GENERATED_DIR ${VORRIK_TOP_BINARY_DIR}/generated)

add_library(vorrik_shell STATIC
  shell/blocks_win32.cpp
  shell/components.cpp
  shell/date_time_win32.cpp
  shell/error_box.cpp
  shell/load_window.cpp
  shell/message_loop.cpp
  shell/raise_event.cpp
  shell/start.cpp
  shell/tool_window.cpp
  shell/window_lifecycle.cpp
  shell/window_registry.cpp
  shell/write_property.cpp
  skin/library_commands.cpp
  windows/builder.cpp
  windows/kinds/background_sound.cpp
  windows/kinds/browser_site.cpp
  windows/kinds/button.cpp
  windows/kinds/group_box.cpp
  windows/kinds/html_viewer.cpp
  windows/kinds/kind_gdi.cpp
  windows/kinds/kind_table.cpp
  windows/kinds/label.cpp
  windows/kinds/timer.cpp
  windows/kinds/window.cpp
  windows/kinds/window_help.cpp
  windows/kinds/window_shapes.cpp
  windows/stored_windows.cpp
  windows/forms/game_handlers.cpp
  windows/forms/handlers.cpp
  windows/forms/launcher_handlers.cpp
  windows/link_opener.cpp
  ${VORRIK_GENERATED_DIR}/description_set_data.cpp
)
target_link_libraries(vorrik_shell PUBLIC vorrik_portable ole32 oleaut32 uuid comctl32 shell32 gdi32 user32 kernel32)
target_compile_options(vorrik_shell PRIVATE ${VORRIK_WARNINGS} -O2)
# The portable texts take their blocks from the shell's allocator: a cycle
# that the linker resolves by seeing both libraries twice.
target_link_libraries(vorrik_portable PUBLIC vorrik_shell)

add_executable(vorrik WIN32 shell/main.cpp resources/vorrik.rc)
target_link_libraries(vorrik PRIVATE vorrik_shell)
target_compile_options(vorrik PRIVATE ${VORRIK_WARNINGS} -O2)
target_link_options(vorrik PRIVATE -mwindows -s)
target_include_directories(vorrik PRIVATE ${VORRIK_GENERATED_DIR})
set_source_files_properties(resources/vorrik.rc PROPERTIES OBJECT_DEPENDS ${VORRIK_GENERATED_DIR}/vorrik.ico)

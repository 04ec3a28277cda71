# Portable sources: no <windows.h>; built for the host (unit tests, tools) and
# for the target (the program).
set(PORTABLE_SOURCES
  shell/error_text.cpp
  shell/run_directory.cpp
  shell/texts.cpp
  shell/date_time.cpp
  windows/byte_io.cpp
  windows/byte_reader.cpp
  windows/description.cpp
  windows/kinds/settings_common.cpp
  windows/kinds/window_settings.cpp
  windows/kinds/label_settings.cpp
  windows/kinds/button_settings.cpp
  windows/kinds/group_box_settings.cpp
  windows/kinds/timer_settings.cpp
  windows/kinds/html_viewer_settings.cpp
  windows/kinds/mnemonic.cpp
  windows/kinds/wave_file.cpp
  windows/forms/handler_names.cpp
  shell/events.cpp
  skinengine/skin_format.cpp
  skinengine/skin_writer.cpp
  windows/menu_plan.cpp
)
set(VORRIK_WARNINGS -Wall -Wextra)
# Texts are GBK in the program and in every test that compares them, on both sides.
set(VORRIK_CHARSET -finput-charset=UTF-8 -fexec-charset=GBK)

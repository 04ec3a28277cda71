# Build tools and the data they generate into ${CMAKE_BINARY_DIR}/generated:
# the program icon, the description set compiled from the window forms, and
# the C++ source that carries the set into the program.
set(VORRIK_GAME_PAGE_URL "http://game.example/flash/115225.htm" CACHE STRING
    "Address of the game page that the game window loads")
set(VORRIK_AUTHOR_ACCOUNT "10000" CACHE STRING
    "The author's messenger account number for the contact link")

set(VORRIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${VORRIK_GENERATED_DIR})

add_library(vorrik_form_compiler STATIC
  tools/forms/form_text.cpp
  tools/forms/form_settings.cpp
  tools/forms/form_reader.cpp
)
target_link_libraries(vorrik_form_compiler PUBLIC vorrik_portable)
target_compile_options(vorrik_form_compiler PRIVATE ${VORRIK_WARNINGS})

add_executable(compile_forms tools/compile_forms.cpp)
target_link_libraries(compile_forms PRIVATE vorrik_form_compiler)
target_compile_options(compile_forms PRIVATE ${VORRIK_WARNINGS})

add_executable(make_icon tools/make_icon.cpp)
target_compile_options(make_icon PRIVATE ${VORRIK_WARNINGS})

set(VORRIK_ICON_FILE ${VORRIK_GENERATED_DIR}/vorrik.ico)
set(VORRIK_SET_FILE ${VORRIK_GENERATED_DIR}/description_set.bin)
set(VORRIK_SET_SOURCE ${VORRIK_GENERATED_DIR}/description_set_data.cpp)
set(VORRIK_FORMS
  ${PROJECT_SOURCE_DIR}/windows/forms/launcher.form
  ${PROJECT_SOURCE_DIR}/windows/forms/game.form
)

add_custom_command(
  OUTPUT ${VORRIK_ICON_FILE}
  COMMAND make_icon ${VORRIK_ICON_FILE}
  DEPENDS make_icon
  COMMENT "Drawing the program icon"
  VERBATIM)

add_custom_command(
  OUTPUT ${VORRIK_SET_FILE} ${VORRIK_SET_SOURCE}
  COMMAND compile_forms
    --define GAME_PAGE_URL=${VORRIK_GAME_PAGE_URL}
    --define AUTHOR_ACCOUNT=${VORRIK_AUTHOR_ACCOUNT}
    --files ${VORRIK_GENERATED_DIR}
    --set ${VORRIK_SET_FILE}
    --source ${VORRIK_SET_SOURCE}
    ${VORRIK_FORMS}
  DEPENDS compile_forms ${VORRIK_FORMS} ${VORRIK_ICON_FILE}
  COMMENT "Compiling the window forms"
  VERBATIM)

add_custom_target(host_generated ALL DEPENDS ${VORRIK_ICON_FILE} ${VORRIK_SET_FILE} ${VORRIK_SET_SOURCE})
set(VORRIK_HOST_GENERATED host_generated)

# The unit tests check the generated files themselves, and the form compiler.
add_dependencies(unit_tests host_generated)
target_link_libraries(unit_tests PRIVATE vorrik_form_compiler)
target_compile_definitions(unit_tests PRIVATE
  VORRIK_SET_FILE="${VORRIK_SET_FILE}"
  VORRIK_ICON_FILE="${VORRIK_ICON_FILE}"
  VORRIK_GAME_PAGE_URL="${VORRIK_GAME_PAGE_URL}")

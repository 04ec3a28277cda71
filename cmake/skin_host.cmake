# The built-in skins: make_skins turns the theme sources into the skin files
# and the generated source of the SkinTable, which the program carries.
if(NOT VORRIK_GENERATED_DIR)
  set(VORRIK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
endif()

add_library(vorrik_skin_themes STATIC skin/skin_themes.cpp skin/skin_artwork.cpp)
target_link_libraries(vorrik_skin_themes PUBLIC vorrik_portable)
target_compile_options(vorrik_skin_themes PRIVATE ${VORRIK_WARNINGS})

add_executable(make_skins tools/make_skins.cpp)
target_link_libraries(make_skins PRIVATE vorrik_skin_themes)
target_compile_options(make_skins PRIVATE ${VORRIK_WARNINGS})

set(VORRIK_SKIN_THEMES ${PROJECT_SOURCE_DIR}/resources/skins.themes)
set(VORRIK_SKIN_DIR ${VORRIK_GENERATED_DIR}/skins)
set(VORRIK_SKIN_TABLE_SOURCE ${VORRIK_GENERATED_DIR}/skin_table_data.cpp)
file(MAKE_DIRECTORY ${VORRIK_SKIN_DIR})

add_custom_command(
  OUTPUT ${VORRIK_SKIN_TABLE_SOURCE}
  COMMAND make_skins --themes ${VORRIK_SKIN_THEMES} --files ${VORRIK_SKIN_DIR} --source ${VORRIK_SKIN_TABLE_SOURCE}
  DEPENDS make_skins ${VORRIK_SKIN_THEMES}
  COMMENT "Making the built-in skins"
  VERBATIM)
add_custom_target(skins_generated ALL DEPENDS ${VORRIK_SKIN_TABLE_SOURCE})
list(APPEND VORRIK_HOST_GENERATED skins_generated)

# The native tests read the table as the program carries it, and the themes.
target_sources(unit_tests PRIVATE ${VORRIK_SKIN_TABLE_SOURCE})
target_link_libraries(unit_tests PRIVATE vorrik_skin_themes)
target_compile_definitions(unit_tests PRIVATE VORRIK_SKIN_THEMES="${VORRIK_SKIN_THEMES}")

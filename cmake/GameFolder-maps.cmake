# The map archive maps/data.uni, packed from the location files in data/maps/.

file(GLOB MAP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/maps/*)
# A removed map leaves every remaining input older than the archive; this list changes then,
# and only then, so the archive is packed again without it.
list(JOIN MAP_SOURCES "\n" MAP_SOURCE_LIST)
file(CONFIGURE OUTPUT ${GAME_STAMPS}/maps.list CONTENT "${MAP_SOURCE_LIST}\n" @ONLY)

add_custom_command(
  OUTPUT ${GAME_DIR}/maps/data.uni
  COMMAND packmaps ${CMAKE_SOURCE_DIR}/data/maps ${GAME_DIR}/maps/data.uni
  DEPENDS packmaps ${MAP_SOURCES} ${GAME_STAMPS}/maps.list
  COMMENT "Game folder: map archive")

list(APPEND GAME_FOLDER_OUTPUTS ${GAME_DIR}/maps/data.uni)

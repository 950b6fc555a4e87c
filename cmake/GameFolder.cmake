# Assembles the runnable game folder beside the executable from the sources in data/.
# Every step is a tool of our own under tools/; each step names its inputs so that an
# edited map, script or picture source rebuilds only what it feeds.

file(GLOB_RECURSE GAME_TEXT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/game/*)
set(GAME_STAMPS ${CMAKE_BINARY_DIR}/stamps)

add_custom_command(
  OUTPUT ${GAME_STAMPS}/text.stamp
  COMMAND mkgame ${CMAKE_SOURCE_DIR}/data/game ${GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GAME_DIR}/saved
  COMMAND ${CMAKE_COMMAND} -E touch ${GAME_STAMPS}/text.stamp
  DEPENDS mkgame ${GAME_TEXT_SOURCES}
  COMMENT "Game folder: text files (cp1251, CRLF)")

set(GAME_FOLDER_OUTPUTS ${GAME_STAMPS}/text.stamp)
# Later steps (map archive, pictures, music) append their outputs to GAME_FOLDER_OUTPUTS
# in cmake/GameFolder-*.cmake.
file(GLOB GAME_FOLDER_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/GameFolder-*.cmake)
foreach(part ${GAME_FOLDER_PARTS})
  include(${part})
endforeach()

file(MAKE_DIRECTORY ${GAME_STAMPS})
add_custom_target(gamefolder ALL DEPENDS ${GAME_FOLDER_OUTPUTS})
add_dependencies(morvath gamefolder)

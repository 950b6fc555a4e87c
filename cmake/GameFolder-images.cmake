# The pictures: every text source data/art/<name>.txt is drawn into the game folder as <name>
# (Images/..., a BMP or a GIF as the name says) by tools/mkimages.

file(GLOB_RECURSE ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/art/*.txt)
set(ART_OUTPUTS)
foreach(src ${ART_SOURCES})
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/data/art ${src})
  if(NOT rel STREQUAL "palette.txt")
    string(REGEX REPLACE "\\.txt$" "" rel ${rel})
    list(APPEND ART_OUTPUTS ${GAME_DIR}/${rel})
  endif()
endforeach()

add_custom_command(
  OUTPUT ${GAME_STAMPS}/images.stamp ${ART_OUTPUTS}
  COMMAND mkimages ${CMAKE_SOURCE_DIR}/data/art ${GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${GAME_STAMPS}/images.stamp
  DEPENDS mkimages ${ART_SOURCES}
  COMMENT "Game folder: pictures")

list(APPEND GAME_FOLDER_OUTPUTS ${GAME_STAMPS}/images.stamp ${ART_OUTPUTS})

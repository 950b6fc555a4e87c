# The tunes: each note list in data/music/ becomes <name>.mid in the game folder's music/.
file(GLOB MUSIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/music/*.txt)
foreach(src ${MUSIC_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  set(out ${GAME_DIR}/music/${name}.mid)
  add_custom_command(
    OUTPUT ${out}
    COMMAND mkmusic ${src} ${out}
    DEPENDS mkmusic ${src}
    COMMENT "Game folder: music/${name}.mid")
  list(APPEND GAME_FOLDER_OUTPUTS ${out})
endforeach()

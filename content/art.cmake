# Renders the pictures and the skin into the runnable folder (target content_art):
#   bankdata/pics/<name>.png   from pictures/<name>.svg
#   skin/..., bankdata/{fileclose,select,gantan}.png
#                              from art/skin.art and the SVG sources beside it
#   皮肤.ini                   copied from art/
# Every picture also comes at twice its size as <name>@2x.<ext> beside it,
# which the program shows on high-density screens.
# All of it is drawn by tools/artgen; nothing here is a binary source.
set(_art_dir ${CMAKE_CURRENT_LIST_DIR}/art)
set(_pics_dir ${CMAKE_CURRENT_LIST_DIR}/pictures)
set(_art_outputs)

# ---- question pictures, rendered at their own size. Several files per artgen
# run keeps the process count low; several runs let a parallel build share them.
file(GLOB _pic_svgs CONFIGURE_DEPENDS ${_pics_dir}/*.svg)
list(SORT _pic_svgs)
set(_pics_per_run 80)
list(LENGTH _pic_svgs _pic_count)
set(_first 0)
while(_first LESS _pic_count)
  list(SUBLIST _pic_svgs ${_first} ${_pics_per_run} _batch)
  set(_batch_pngs)
  foreach(_svg IN LISTS _batch)
    get_filename_component(_name ${_svg} NAME_WLE)
    list(APPEND _batch_pngs ${CXB_APP_DIR}/bankdata/pics/${_name}.png ${CXB_APP_DIR}/bankdata/pics/${_name}@2x.png)
  endforeach()
  list(LENGTH _batch _batch_count)
  add_custom_command(
    OUTPUT ${_batch_pngs}
    COMMAND artgen render --2x --out-dir ${CXB_APP_DIR}/bankdata/pics ${_batch}
    DEPENDS artgen ${_batch}
    COMMENT "Rendering ${_batch_count} question pictures"
    VERBATIM)
  list(APPEND _art_outputs ${_batch_pngs})
  math(EXPR _first "${_first} + ${_pics_per_run}")
endwhile()

# ---- skin and judgement marks: the outputs are the *.png/*.bmp/*.wav words
# of the button, tile and sound lines of the manifest.
set(_skin_manifest ${_art_dir}/skin.art)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_skin_manifest} ${_art_dir}/皮肤.ini)
file(STRINGS ${_skin_manifest} _skin_lines REGEX "^[ \t]*(button|tile|sound)[ \t]")
set(_skin_files)
foreach(_line IN LISTS _skin_lines)
  separate_arguments(_words UNIX_COMMAND "${_line}")
  foreach(_word IN LISTS _words)
    if(_word MATCHES "^[^=]+\\.(png|bmp|wav)$")
      list(APPEND _skin_files ${_word})
    endif()
  endforeach()
endforeach()
set(_skin_made ${_skin_files})
foreach(_file IN LISTS _skin_files)
  if(_file MATCHES "^(.*)\\.(png|bmp)$")
    list(APPEND _skin_made "${CMAKE_MATCH_1}@2x.${CMAKE_MATCH_2}")
  endif()
endforeach()
list(TRANSFORM _skin_made PREPEND ${CXB_APP_DIR}/ OUTPUT_VARIABLE _skin_outputs)
file(GLOB _art_svgs CONFIGURE_DEPENDS ${_art_dir}/*.svg)
add_custom_command(
  OUTPUT ${_skin_outputs}
  COMMAND artgen skin ${_skin_manifest} ${_art_dir} ${CXB_APP_DIR} --2x
  DEPENDS artgen ${_skin_manifest} ${_art_svgs}
  COMMENT "Rendering the skin"
  VERBATIM)
list(APPEND _art_outputs ${_skin_outputs})

# ---- the skin file. Every picture it names must be one the manifest makes.
file(STRINGS ${_art_dir}/皮肤.ini _ini_lines REGEX "^[^/]+=\"")
foreach(_line IN LISTS _ini_lines)
  string(REGEX REPLACE "^[^=]*=\"([^\"]*)\".*" "\\1" _value "${_line}")
  string(REPLACE "\\" "/" _value "${_value}")
  if(NOT _value IN_LIST _skin_files)
    message(SEND_ERROR "content/art/皮肤.ini: \"${_line}\" names a file that skin.art does not make")
  endif()
endforeach()
add_custom_command(
  OUTPUT ${CXB_APP_DIR}/皮肤.ini
  COMMAND ${CMAKE_COMMAND} -E copy ${_art_dir}/皮肤.ini ${CXB_APP_DIR}/皮肤.ini
  DEPENDS ${_art_dir}/皮肤.ini
  COMMENT "Copying the skin file"
  VERBATIM)
list(APPEND _art_outputs ${CXB_APP_DIR}/皮肤.ini)

add_custom_target(content_art ALL DEPENDS ${_art_outputs})

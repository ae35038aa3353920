# Installs the template of the runnable folder under ${CXB_INSTALL_DATADIR}:
# the banks and starter state file as built for shipping (never the ones of
# build/app, which a learner may have used), and the pictures, marks, skin
# pictures and skin file content_art renders into build/app.
install(FILES ${CXB_TEMPLATE_BANKS} ${CXB_TEMPLATE_DIR}/bankdata/sys.dat
  DESTINATION ${CXB_INSTALL_DATADIR}/bankdata)

set(_art_dirs)
foreach(_file IN LISTS _art_outputs)
  file(RELATIVE_PATH _rel ${CXB_APP_DIR} ${_file})
  get_filename_component(_dir "${_rel}" DIRECTORY)
  list(APPEND _art_dirs "${_dir}")
endforeach()
list(REMOVE_DUPLICATES _art_dirs)
foreach(_dir IN LISTS _art_dirs)
  set(_files)
  foreach(_file IN LISTS _art_outputs)
    file(RELATIVE_PATH _rel ${CXB_APP_DIR} ${_file})
    get_filename_component(_file_dir "${_rel}" DIRECTORY)
    if(_file_dir STREQUAL _dir)
      list(APPEND _files ${_file})
    endif()
  endforeach()
  if(_dir STREQUAL "")
    install(FILES ${_files} DESTINATION ${CXB_INSTALL_DATADIR})
  else()
    install(FILES ${_files} DESTINATION ${CXB_INSTALL_DATADIR}/${_dir})
  endif()
endforeach()

# What an install puts under share/doc/chixuebao and share/man: the
# machine-readable copyright file, the release changelog, the README (with
# its section on messages, 遇到问题) and the manual page chixuebao(1).
set(CXB_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/chixuebao)
find_program(CXB_SCDOC scdoc REQUIRED)
find_program(CXB_GZIP gzip REQUIRED)

# The copyright file: dist/copyright, then the full text of the content
# licence, which Debian does not keep in /usr/share/common-licenses.
set(_copyright ${CMAKE_CURRENT_BINARY_DIR}/copyright)
set(_ccbysa ${CMAKE_SOURCE_DIR}/LICENSES/CC-BY-SA-4.0.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/copyright ${_ccbysa})
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/copyright _head)
file(READ ${_ccbysa} _text)
# A licence text in a copyright paragraph: each line indented by one blank,
# an empty line written as " .".
string(REGEX REPLACE "[ \t\r]+\n" "\n" _text "${_text}")
string(STRIP "${_text}" _text)
string(REPLACE "\n" "\n " _text "${_text}")
string(REPLACE "\n \n" "\n .\n" _text "${_text}")
string(REPLACE "\n \n" "\n .\n" _text "${_text}")
file(WRITE ${_copyright} "${_head}\nLicense: CC-BY-SA-4.0\n ${_text}\n")
install(FILES ${_copyright} DESTINATION ${CXB_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CXB_DOCDIR})

# Compressed as Debian wants them: at most, with no name or time inside.
set(_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${_changelog}
  COMMAND ${CXB_GZIP} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/changelog > ${_changelog}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog
  COMMENT "Compressing the changelog")
set(CXB_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/chixuebao.1)
add_custom_command(OUTPUT ${CXB_MANPAGE} ${CXB_MANPAGE}.gz
  COMMAND ${CXB_SCDOC} < ${CMAKE_CURRENT_SOURCE_DIR}/chixuebao.1.scd > ${CXB_MANPAGE}
  COMMAND ${CXB_GZIP} -9nc ${CXB_MANPAGE} > ${CXB_MANPAGE}.gz
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/chixuebao.1.scd
  COMMENT "Writing the manual page chixuebao(1)")
add_custom_target(dist_docs ALL DEPENDS ${_changelog} ${CXB_MANPAGE}.gz)
install(FILES ${_changelog} DESTINATION ${CXB_DOCDIR})
install(FILES ${CXB_MANPAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(CXB_MANPAGE ${CXB_MANPAGE} PARENT_SCOPE)

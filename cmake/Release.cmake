# The release: dist/changelog, in Debian's changelog format, is the one place
# that names it. Its newest entry gives the version, 10.1.N, where N goes up
# with every release of the program or of the banks, so that a package made
# after a change of content alone still upgrades the one before it. The
# entries also become the releases of the AppStream metadata.
#
# Sets CXB_VERSION (the newest version) and CXB_APPSTREAM_RELEASES (the
# <release> elements, newest first).
set(CXB_CHANGELOG ${CMAKE_SOURCE_DIR}/dist/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CXB_CHANGELOG})

function(cxb_xml_text var text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

function(cxb_read_changelog path)
  file(READ ${path} log)
  # One list element per line; the text's own semicolons are kept aside.
  string(REPLACE ";" "@CXB_SEMICOLON@" log "${log}")
  string(REPLACE "\n" ";" lines "${log}")
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(newest "")
  set(releases "")
  set(version "")
  set(items "")
  set(item "")
  foreach(line IN LISTS lines)
    string(REPLACE "@CXB_SEMICOLON@" ";" line "${line}")
    if(line MATCHES "^chixuebao \\(([0-9][0-9.]*)\\) ")
      set(version ${CMAKE_MATCH_1})
      set(items "")
      set(item "")
      if(newest STREQUAL "")
        set(newest ${version})
      endif()
    elseif(line MATCHES "^  \\* (.*)$")
      if(NOT item STREQUAL "")
        string(APPEND items "          <li>${item}</li>\n")
      endif()
      cxb_xml_text(item "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^    (.*)$" AND NOT item STREQUAL "")
      cxb_xml_text(more "${CMAKE_MATCH_1}")
      string(APPEND item " ${more}")
    elseif(line MATCHES "^ -- .*>  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
      if(version STREQUAL "" OR item STREQUAL "")
        message(FATAL_ERROR "${path}: an entry without a version or without a change, before \"${line}\"")
      endif()
      string(APPEND items "          <li>${item}</li>\n")
      set(day ${CMAKE_MATCH_1})
      set(year ${CMAKE_MATCH_3})
      list(FIND months ${CMAKE_MATCH_2} month)
      if(month LESS 0)
        message(FATAL_ERROR "${path}: no month in \"${line}\"")
      endif()
      math(EXPR month "${month} + 1")
      if(month LESS 10)
        set(month 0${month})
      endif()
      if(day LESS 10)
        set(day 0${day})
      endif()
      string(APPEND releases
        "    <release version=\"${version}\" date=\"${year}-${month}-${day}\">\n"
        "      <description>\n"
        "        <ul>\n${items}        </ul>\n"
        "      </description>\n"
        "    </release>\n")
      set(version "")
      set(item "")
    elseif(NOT line MATCHES "^ *$")
      message(FATAL_ERROR "${path}: a line not in the changelog's form: \"${line}\"")
    endif()
  endforeach()
  if(newest STREQUAL "" OR NOT version STREQUAL "")
    message(FATAL_ERROR "${path}: no complete entry")
  endif()
  set(CXB_VERSION ${newest} PARENT_SCOPE)
  set(CXB_APPSTREAM_RELEASES "${releases}" PARENT_SCOPE)
endfunction()

cxb_read_changelog(${CXB_CHANGELOG})
if(NOT CXB_VERSION MATCHES "^${PROJECT_VERSION_MAJOR}\\.${PROJECT_VERSION_MINOR}(\\.[0-9]+)?$")
  message(FATAL_ERROR "dist/changelog names ${CXB_VERSION}, not a release of ${PROJECT_VERSION}")
endif()
message(STATUS "Release ${CXB_VERSION}")

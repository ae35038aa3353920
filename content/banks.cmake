# Builds the three shipped banks with tkbank and checks them (target content_banks).
# Each is built into the template of the runnable folder (what an install
# ships), then brought into the runnable folder by tkupgrade, which keeps the
# counters a learner has earned there.
set(CXB_BANK_SOURCES car:小车 bus:客车 truck:货车)
file(GLOB CXB_BANK_JSON CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/banks/*.json)
file(MAKE_DIRECTORY ${CXB_TEMPLATE_DIR}/bankdata)
set(CXB_BANK_OUTPUTS)
set(CXB_TEMPLATE_BANKS)
foreach(pair IN LISTS CXB_BANK_SOURCES)
  string(REPLACE ":" ";" parts ${pair})
  list(GET parts 0 src)
  list(GET parts 1 name)
  set(out ${CXB_APP_DIR}/bankdata/${name}.tk)
  set(shipped ${CXB_TEMPLATE_DIR}/bankdata/${name}.tk)
  if(CXB_BUILD_UI)
    # The pictures are rendered by then: check them too.
    set(check_cmd $<TARGET_FILE:tkbank> check ${shipped}.new --app-dir ${CXB_APP_DIR})
  else()
    set(check_cmd $<TARGET_FILE:tkbank> check ${CMAKE_CURRENT_SOURCE_DIR}/banks/${src}.json)
  endif()
  # Built beside, checked, then put in place: a bank that fails the check
  # never reaches the template or the runnable folder.
  add_custom_command(OUTPUT ${shipped} ${out}
    COMMAND $<TARGET_FILE:tkbank> build ${CMAKE_CURRENT_SOURCE_DIR}/banks/${src}.json -o ${shipped}.new --shipped
    COMMAND ${check_cmd}
    COMMAND ${CMAKE_COMMAND} -E rename ${shipped}.new ${shipped}
    COMMAND $<TARGET_FILE:tkupgrade> ${shipped} ${out}
    DEPENDS tkbank tkupgrade ${CXB_BANK_JSON}
    COMMENT "Building and checking bank ${name}.tk"
    VERBATIM)
  list(APPEND CXB_BANK_OUTPUTS ${shipped} ${out})
  list(APPEND CXB_TEMPLATE_BANKS ${shipped})
endforeach()
add_custom_target(content_banks ALL DEPENDS ${CXB_BANK_OUTPUTS})
if(TARGET content_art)
  add_dependencies(content_banks content_art)
endif()

# The Debian package (cpack -G DEB): exactly what cmake --install puts, under
# /usr. Its dependencies are worked out by dpkg-shlibdeps from the libraries
# the program and its sound module link, plus a font for the Chinese text.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chixuebao)
# 10.1.N from dist/changelog: a release of the banks alone raises it too.
set(CPACK_PACKAGE_VERSION ${CXB_VERSION})
set(CPACK_PACKAGE_VENDOR "驰学宝")
string(REGEX REPLACE "^[a-z]+://([^/:]+).*$" "\\1" _host "${CXB_HOMEPAGE}")
set(CPACK_PACKAGE_CONTACT "驰学宝 maintainers <maintainers@${_host}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for the written part of the Chinese driving-licence test")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "驰学宝 (Chixuebao) practises the theory test with the car, bus and truck\n"
  "question banks or a bank of your own: the whole bank in order, the\n"
  "questions answered least often or most often wrong, timed mock exams with\n"
  "a history, and a search. Each learner's counters and exam history live in\n"
  "~/.local/share/chixuebao, which an upgrade or a removal never touches.")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CXB_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# cpack and cmake --install install what is built; they do not build every
# test and benchmark first (the install tests build what an install takes).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

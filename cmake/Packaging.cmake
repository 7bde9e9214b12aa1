# Installation and the Debian package.
#
# Under any prefix P:
#   P/lib/examora/            the program folder: examora, examora-bank,
#                             Data/Jsy_Data.mdb (the sample bank), TestMn.frf
#   P/bin/examora             launcher: runs a per-user copy of the program
#                             folder (the program writes beside itself)
#   P/bin/examora-bank        the bank tool
#   P/share/applications/examora.desktop, P/share/icons/…/examora.svg
#
#   cmake --install build --prefix P
#   cd build && cpack -G DEB

set(EXAMORA_INSTALL_DIR lib/examora)

# A fresh sample bank for installing, apart from the program folder of the
# build, whose bank collects the papers of test runs.
set(EXAMORA_INSTALL_BANK ${CMAKE_BINARY_DIR}/install-data/Jsy_Data.mdb)
add_custom_command(OUTPUT ${EXAMORA_INSTALL_BANK}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/install-data
    COMMAND ${CMAKE_COMMAND} -E rm -f ${EXAMORA_INSTALL_BANK}  # create never replaces a bank
    COMMAND examora-bank create ${EXAMORA_INSTALL_BANK}
    DEPENDS examora-bank
    COMMENT "Writing the sample bank to install"
    VERBATIM)
add_custom_target(examora_install_bank ALL DEPENDS ${EXAMORA_INSTALL_BANK})

install(TARGETS examora examora-bank RUNTIME DESTINATION ${EXAMORA_INSTALL_DIR})
install(FILES ${EXAMORA_INSTALL_BANK} DESTINATION ${EXAMORA_INSTALL_DIR}/Data)
install(FILES ${CMAKE_SOURCE_DIR}/data/TestMn.frf DESTINATION ${EXAMORA_INSTALL_DIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/dist/examora.sh DESTINATION bin RENAME examora)
install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${EXAMORA_INSTALL_DIR}/examora-bank
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/examora-bank\" SYMBOLIC)")
install(FILES ${CMAKE_SOURCE_DIR}/dist/examora.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/examora.svg DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME examora)
set(CPACK_PACKAGE_VENDOR "Examora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practice for the written driving-licence theory exam")
set(CPACK_PACKAGE_DESCRIPTION "Learner drivers practise question sets and chapters and sit a timed mock exam \
drawn from the question bank, with a Chinese user interface and a printable result sheet. Includes examora-bank, \
which imports question banks from Access files and checks them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Examora <examora@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries the executables link come from dpkg-shlibdeps; these are
# loaded at run time: the SQLite driver, the X11 platform, the Chinese font
# (宋体 is drawn with Noto Serif CJK) and the camera's media plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-noto-cjk, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
include(CPack)

# Installation and the Debian package.
#
# Under any prefix P:
#   P/lib/examora/            the program folder: examora, examora-editor,
#                             examora-hall, examora-bank, Data/Jsy_Data.mdb (the sample
#                             bank), TestMn.frf
#   P/bin/examora             launcher: runs a per-user copy of the program
#                             folder (the program writes beside itself)
#   P/bin/examora-editor      link to the launcher, which then runs the editor
#   P/bin/examora-hall        the same for the exam room's view
#   P/bin/examora-bank        the bank tool
#   P/share/applications/examora.desktop, P/share/icons/…/examora.svg
#   P/share/man/man1/*.1.gz   the manual pages
#   P/share/doc/examora/      copyright, changelog.Debian.gz
#
#   cmake --install build --prefix P
#   cd build && cpack -G DEB          (scripts/test-package.sh also runs lintian)

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

# Debian wants manual pages and changelogs compressed with gzip -9n (no name
# or time stamp in the header, so that builds are reproducible).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(EXAMORA_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/install-compressed)
set(EXAMORA_COMPRESSED_FILES)
function(examora_compress source name)
    set(output ${EXAMORA_COMPRESSED_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${EXAMORA_COMPRESSED_DIR}/${name}
        COMMAND ${GZIP_PROGRAM} -9nf ${EXAMORA_COMPRESSED_DIR}/${name}
        DEPENDS ${source}
        VERBATIM)
    set(EXAMORA_COMPRESSED_FILES ${EXAMORA_COMPRESSED_FILES} ${output} PARENT_SCOPE)
endfunction()
set(EXAMORA_MAN_PAGES examora.1 examora-editor.1 examora-hall.1 examora-bank.1)
foreach(page ${EXAMORA_MAN_PAGES})
    examora_compress(${CMAKE_SOURCE_DIR}/dist/man/${page} ${page})
endforeach()
examora_compress(${CMAKE_SOURCE_DIR}/dist/debian/changelog changelog.Debian)
add_custom_target(examora_install_compressed ALL DEPENDS ${EXAMORA_COMPRESSED_FILES})

install(TARGETS examora examora-editor examora-hall examora-bank RUNTIME DESTINATION ${EXAMORA_INSTALL_DIR})
install(FILES ${EXAMORA_INSTALL_BANK} DESTINATION ${EXAMORA_INSTALL_DIR}/Data)
install(FILES ${CMAKE_SOURCE_DIR}/data/TestMn.frf DESTINATION ${EXAMORA_INSTALL_DIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/dist/examora.sh DESTINATION bin RENAME examora)
install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(CREATE_LINK ../${EXAMORA_INSTALL_DIR}/examora-bank
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/examora-bank\" SYMBOLIC)
    file(CREATE_LINK examora
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/examora-editor\" SYMBOLIC)
    file(CREATE_LINK examora
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/examora-hall\" SYMBOLIC)")
install(FILES ${CMAKE_SOURCE_DIR}/dist/examora.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/examora.svg DESTINATION share/icons/hicolor/scalable/apps)
list(TRANSFORM EXAMORA_MAN_PAGES PREPEND ${EXAMORA_COMPRESSED_DIR}/ OUTPUT_VARIABLE EXAMORA_MAN_FILES)
list(TRANSFORM EXAMORA_MAN_FILES APPEND .gz)
install(FILES ${EXAMORA_MAN_FILES} DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/dist/debian/copyright ${EXAMORA_COMPRESSED_DIR}/changelog.Debian.gz
        DESTINATION share/doc/examora)
install(FILES ${CMAKE_SOURCE_DIR}/dist/debian/lintian-overrides DESTINATION share/lintian/overrides RENAME examora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME examora)
set(CPACK_PACKAGE_VENDOR "Examora developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The Debian revision of the package; dist/debian/changelog names the same.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
file(STRINGS ${CMAKE_SOURCE_DIR}/dist/debian/changelog _changelogTop LIMIT_COUNT 1)
if(NOT _changelogTop MATCHES "^examora \\(${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}\\)")
    message(FATAL_ERROR "dist/debian/changelog has no entry for ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}: add one")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practice for the written driving-licence theory exam")
# Lines of the extended description stay under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Learner drivers practise question sets and chapters and sit a timed mock
exam drawn from the question bank, with a Chinese user interface and a
printable result sheet.
.
Includes examora-bank, which writes sample banks, imports question banks
from Access files and checks them, examora-editor, which edits the
questions of a bank, and examora-hall, the teacher's view of an exam room.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Examora developers <dev@examora.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries the executables link come from dpkg-shlibdeps; these are
# loaded at run time: the SQLite driver, the X11 platform, the Chinese font
# (宋体 is drawn with Noto Serif CJK), the camera's media plugins and the
# Chinese texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-noto-cjk, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
qt6-translations-l10n")
# A school's SQL Server bank is reached through ODBC and FreeTDS, an exam
# room's PostgreSQL server through Qt's PostgreSQL driver.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-odbc, tdsodbc, libqt6sql6-psql")
include(CPack)

# What `cmake --install` puts under the prefix, and the Debian package that
# `cpack -G DEB` (the target `package`) makes of it:
#
#   bin/qz140                             the launcher (packaging/qz140.in)
#   lib/qz140/                            QZP140, Update, btrutil, demodata
#   lib/qz140/stand-ins/                  qzp149 (QZP149C.EXE, QZP149D.EXE), qzp140b (QZP140B.EXE),
#                                         qzpconv (QZPCSV.EXE, QZPCBR85.EXE, QZPCLR.EXE, QZPGENCNV.EXE, QZPCNV.EXE)
#   share/qz140/template/                 the template program folder: INI files, CPFSPEC.INI,
#                                         QZPCSV.INI, Version.ini
#   share/applications/qz140.desktop      the desktop entry
#   share/icons/hicolor/*/apps/qz140.*    the icon (also the programs' window icon)
#   share/doc/qz140/                      README.md, copyright, changelog.gz
#   share/man/man1/qz140.1.gz             the launcher's manual page
#
# The package depends on the shared libraries the programs link (Qt 6
# widgets, SQLite and the C++ runtime, found by dpkg-shlibdeps) and on the
# CJK fonts the screens are drawn with.
set(QZ_PROGRAM_DIR lib/qz140)
set(QZ_TEMPLATE_DIR share/qz140/template)
set(QZ_DOC_DIR share/doc/qz140)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS QZP140 Update btrutil demodata RUNTIME DESTINATION ${QZ_PROGRAM_DIR})
install(TARGETS qzp149 qzp140b qzpconv RUNTIME DESTINATION ${QZ_PROGRAM_DIR}/stand-ins)

configure_file(${packaging}/qz140.in ${PROJECT_BINARY_DIR}/packaging/qz140 @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/qz140 DESTINATION bin)

# The template program folder: the INI files with the line ends of the
# suite's files (Version.ini names this build's version), and the record
# definitions and the conversion definition written by recorddefs.
set(template ${PROJECT_BINARY_DIR}/template)
foreach(f QZP140.INI QZPPATH.ini KWBDISP.ENV QZP149D.INI Version.ini)
  configure_file(${packaging}/template/${f} ${template}/${f} @ONLY NEWLINE_STYLE CRLF)
endforeach()
add_custom_command(OUTPUT ${template}/CPFSPEC.INI ${template}/QZPCSV.INI
  COMMAND recorddefs ${template}/CPFSPEC.INI ${template}/QZPCSV.INI
  DEPENDS recorddefs
  COMMENT "Writing the record and conversion definitions of the template program folder")
add_custom_target(qz_template ALL DEPENDS ${template}/CPFSPEC.INI ${template}/QZPCSV.INI)
install(DIRECTORY ${template}/ DESTINATION ${QZ_TEMPLATE_DIR})

install(FILES ${packaging}/qz140.desktop DESTINATION share/applications)
install(FILES ${packaging}/qz140.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${packaging}/qz140.png DESTINATION share/icons/hicolor/64x64/apps)

add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/qz140.1.gz
  COMMAND gzip -9nc ${packaging}/qz140.1 > ${PROJECT_BINARY_DIR}/packaging/qz140.1.gz
  DEPENDS ${packaging}/qz140.1)
add_custom_target(qz_manual ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/qz140.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/qz140.1.gz DESTINATION share/man/man1)

configure_file(${packaging}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nf -k ${PROJECT_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog)
add_custom_target(qz_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${packaging}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${PROJECT_SOURCE_DIR}/README.md
  DESTINATION ${QZ_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qz140)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QZ140 developers <qz140@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "result-entry workstation of a health-checkup suite")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "QZP140 loads one examinee's consultation, takes the results typed into\n"
  "its grid, checks, judges and saves them into the suite's shared data\n"
  "folder. The package also holds Update, the version-up program, btrutil,\n"
  "the record-file tool, stand-ins of the suite's programs and a template\n"
  "program folder. The launcher qz140 starts QZP140 at a terminal.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

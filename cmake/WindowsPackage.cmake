# The portable Windows package, vantorel-<version>-windows-x64.zip in the build folder: one
# folder holding the stripped vantorel.exe and vantorel-cli.exe, the command line's manual
# page as text, an example settings file written for Windows, a short README.txt, Vantorel's
# licence and copyright, and Qt's licences with a note of where its source comes from
# (written by scripts/build-qt-windows.sh beside the static Qt).
set(VANTOREL_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/vantorel-${PROJECT_VERSION}-windows-x64.zip)
set(package_root ${CMAKE_BINARY_DIR}/windows-package)
set(package_name vantorel-${PROJECT_VERSION})
set(texts ${package_root}/texts)
set(qt_docs ${VANTOREL_QT_WINDOWS}/share/doc/qt)
if(NOT EXISTS ${qt_docs}/SOURCE.txt)
  message(FATAL_ERROR "${qt_docs}/SOURCE.txt is missing: build Qt with scripts/build-qt-windows.sh")
endif()

# Windows' own editors expect CRLF line ends (the texts hold no @-names to replace).
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt ${texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/vantorel-example.ini ${texts}/vantorel-example.ini
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/COPYING ${texts}/COPYING.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/data/copyright ${texts}/copyright.txt @ONLY NEWLINE_STYLE CRLF)
# The manual page, set as plain text for Windows with CRLF line ends.
find_program(VANTOREL_GROFF groff REQUIRED)
configure_file(${PROJECT_SOURCE_DIR}/data/vantorel-cli.1.in ${texts}/vantorel-cli.1 @ONLY)
add_custom_command(OUTPUT ${texts}/vantorel-cli.txt
  COMMAND sh -c "${VANTOREL_GROFF} -man -Tascii -P-cbou -rwindows=1 vantorel-cli.1 | sed 's/$/\r/' > vantorel-cli.txt"
  WORKING_DIRECTORY ${texts}
  DEPENDS ${texts}/vantorel-cli.1
  VERBATIM)

set(stage ${package_root}/${package_name})
add_custom_command(OUTPUT ${VANTOREL_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/qt
  COMMAND ${CMAKE_STRIP} -o ${stage}/vantorel.exe $<TARGET_FILE:vantorel>
  COMMAND ${CMAKE_STRIP} -o ${stage}/vantorel-cli.exe $<TARGET_FILE:vantorel-cli>
  COMMAND ${CMAKE_COMMAND} -E copy ${texts}/README.txt ${texts}/vantorel-example.ini ${texts}/COPYING.txt
                                   ${texts}/copyright.txt ${texts}/vantorel-cli.txt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${qt_docs} ${stage}/qt
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VANTOREL_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VANTOREL_WINDOWS_ZIP} --format=zip ${package_name}
  WORKING_DIRECTORY ${package_root}
  DEPENDS vantorel vantorel-cli ${texts}/README.txt ${texts}/vantorel-example.ini ${texts}/COPYING.txt
          ${texts}/copyright.txt ${texts}/vantorel-cli.txt
  COMMENT "Packing ${VANTOREL_WINDOWS_ZIP}"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${VANTOREL_WINDOWS_ZIP})

# The setup program, vantorel-<version>-windows-x64-setup.exe beside the zip: the same folder
# installed into Program Files, with a Start-menu shortcut and an uninstaller. Left out, with
# a word, where NSIS is missing.
find_program(VANTOREL_MAKENSIS makensis)
if(NOT VANTOREL_MAKENSIS)
  message(WARNING "windows_setup left out: it needs makensis (Debian package nsis)")
  return()
endif()
set(VANTOREL_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/vantorel-${PROJECT_VERSION}-windows-x64-setup.exe)
set(nsis_script ${PROJECT_SOURCE_DIR}/data/windows/vantorel.nsi)
get_property(program_icon GLOBAL PROPERTY VANTOREL_WINDOWS_ICON)
add_custom_command(OUTPUT ${VANTOREL_WINDOWS_SETUP}
  COMMAND ${VANTOREL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DICON=${program_icon}
          -DOUTFILE=${VANTOREL_WINDOWS_SETUP} ${nsis_script}
  DEPENDS ${nsis_script} ${VANTOREL_WINDOWS_ZIP} ${program_icon}
  COMMENT "Making ${VANTOREL_WINDOWS_SETUP}"
  VERBATIM)
add_custom_target(windows_setup ALL DEPENDS ${VANTOREL_WINDOWS_SETUP})

# The Windows packages in the build folder: the portable vantorel-<version>-windows-x64.zip,
# the setup program vantorel-<version>-windows-x64-setup.exe, and their source,
# vantorel-<version>-source.tar.xz. The zip is one folder: the stripped vantorel.exe and
# vantorel-cli.exe, the command line's manual page as text, an example settings file, a
# README written for the package, Vantorel's licence and copyright, and the licences and
# copyright notices of what the programs contain: Qt and the libraries it bundles (written by
# scripts/build-qt-windows.sh beside the static Qt) in qt/, GCC's runtime libraries and the
# MinGW-w64 runtime (their Debian packages' copyright files) in runtime/.
set(VANTOREL_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/vantorel-${PROJECT_VERSION}-windows-x64.zip)
set(package_root ${CMAKE_BINARY_DIR}/windows-package)
set(package_name vantorel-${PROJECT_VERSION})
set(texts ${package_root}/texts)
set(qt_docs ${VANTOREL_QT_WINDOWS}/share/doc/qt)
if(NOT EXISTS ${qt_docs}/third-party)
  message(FATAL_ERROR "${qt_docs}/third-party is missing: run scripts/build-qt-windows.sh, which writes it")
endif()

# Windows' own editors expect CRLF line ends. A text is written again only when it changed,
# and read again when its source changes.
function(write_windows_text text destination)
  string(REGEX REPLACE "\r?\n" "\r\n" text "${text}")
  set(written "")
  if(EXISTS ${destination})
    file(READ ${destination} written)
  endif()
  if(NOT "${text}" STREQUAL "${written}")
    file(WRITE ${destination} "${text}")
  endif()
endfunction()
function(windows_text source destination)
  file(READ ${source} text)
  write_windows_text("${text}" ${destination})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

# Each package's README: the shared text around a section of its own.
foreach(package zip setup)
  set(own_section ${PROJECT_SOURCE_DIR}/data/windows/README-${package}.txt)
  file(READ ${own_section} WINDOWS_PACKAGE_README)
  string(STRIP "${WINDOWS_PACKAGE_README}" WINDOWS_PACKAGE_README)
  # configure_file sets the line ends of the shared text's own lines only.
  string(REPLACE "\n" "\r\n" WINDOWS_PACKAGE_README "${WINDOWS_PACKAGE_README}")
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt ${texts}/${package}/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${own_section})
endforeach()

set(package_texts ${texts}/vantorel-example.ini ${texts}/COPYING.txt ${texts}/copyright.txt)
windows_text(${PROJECT_SOURCE_DIR}/data/windows/vantorel-example.ini ${texts}/vantorel-example.ini)
windows_text(${PROJECT_SOURCE_DIR}/COPYING ${texts}/COPYING.txt)
# Vantorel's copyright notice names the licence's file as the packages have it, COPYING.txt,
# and leaves out where Debian keeps the GPL, which a Windows machine has not.
file(READ ${PROJECT_SOURCE_DIR}/data/copyright notice)
string(REPLACE "(the file COPYING)" "(the file COPYING.txt)" notice "${notice}")
string(REGEX REPLACE " On Debian systems, [^.]*\\." "" notice "${notice}")
if(NOT notice MATCHES "COPYING\\.txt" OR notice MATCHES "Debian")
  message(FATAL_ERROR "data/copyright changed: say in cmake/WindowsPackage.cmake how the Windows packages word it")
endif()
write_windows_text("${notice}" ${texts}/copyright.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/copyright)
file(GLOB_RECURSE qt_texts RELATIVE ${qt_docs} ${qt_docs}/*)
# A text Qt's folder no longer has (a library left out since) goes too.
file(GLOB_RECURSE gone RELATIVE ${texts}/qt ${texts}/qt/*)
list(REMOVE_ITEM gone ${qt_texts})
list(TRANSFORM gone PREPEND ${texts}/qt/)
if(gone)
  file(REMOVE ${gone})
endif()
foreach(text IN LISTS qt_texts)
  windows_text(${qt_docs}/${text} ${texts}/qt/${text})
  list(APPEND package_texts ${texts}/qt/${text})
endforeach()
# Both programs are linked -static: GCC's runtime libraries (libstdc++, libgcc) and the
# MinGW-w64 runtime (its C runtime and winpthreads) are in them.
function(runtime_licence name debian_package)
  set(copyright /usr/share/doc/${debian_package}/copyright)
  if(NOT EXISTS ${copyright})
    message(FATAL_ERROR "${copyright} is missing: install ${debian_package} (scripts/install-deps.sh windows)")
  endif()
  windows_text(${copyright} ${texts}/runtime/${name}.txt)
endfunction()
runtime_licence(gcc g++-mingw-w64-x86-64-posix)
runtime_licence(mingw-w64 mingw-w64-x86-64-dev)
list(APPEND package_texts ${texts}/runtime/gcc.txt ${texts}/runtime/mingw-w64.txt)

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
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_STRIP} -o ${stage}/vantorel.exe $<TARGET_FILE:vantorel>
  COMMAND ${CMAKE_STRIP} -o ${stage}/vantorel-cli.exe $<TARGET_FILE:vantorel-cli>
  COMMAND ${CMAKE_COMMAND} -E copy ${texts}/zip/README.txt ${texts}/vantorel-example.ini ${texts}/COPYING.txt
                                   ${texts}/copyright.txt ${texts}/vantorel-cli.txt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${texts}/qt ${stage}/qt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${texts}/runtime ${stage}/runtime
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VANTOREL_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${VANTOREL_WINDOWS_ZIP} --format=zip ${package_name}
  WORKING_DIRECTORY ${package_root}
  DEPENDS vantorel vantorel-cli ${texts}/zip/README.txt ${texts}/vantorel-cli.txt ${package_texts}
  COMMENT "Packing ${VANTOREL_WINDOWS_ZIP}"
  VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${VANTOREL_WINDOWS_ZIP})

# The source archive, made again only when a file in it has changed.
set(VANTOREL_WINDOWS_SOURCE ${CMAKE_BINARY_DIR}/vantorel-${PROJECT_VERSION}-source.tar.xz)
add_custom_target(windows_source ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DQT=${VANTOREL_QT_WINDOWS}
          -DNAME=${package_name} -DOUTPUT=${VANTOREL_WINDOWS_SOURCE}
          -P ${PROJECT_SOURCE_DIR}/cmake/SourceArchive.cmake
  BYPRODUCTS ${VANTOREL_WINDOWS_SOURCE}
  VERBATIM)

# The setup program, vantorel-<version>-windows-x64-setup.exe beside the zip: the zip's folder,
# with the README for an installed Vantorel, installed for everyone or for the user alone; the
# uninstaller removes the files of the folder's list. Left out, with a word, where NSIS is
# missing.
find_program(VANTOREL_MAKENSIS makensis)
if(NOT VANTOREL_MAKENSIS)
  message(WARNING "windows_setup left out: it needs makensis (Debian package nsis)")
  return()
endif()
set(VANTOREL_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/vantorel-${PROJECT_VERSION}-windows-x64-setup.exe)
set(VANTOREL_SETUP_SCRIPT ${PROJECT_SOURCE_DIR}/data/windows/vantorel.nsi)
set(nsis_includes ${PROJECT_SOURCE_DIR}/data/windows/install-mode.nsh)
# Windows' version resource takes four numbers.
string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+" setup_file_version "${PROJECT_VERSION}.0.0.0")
set(setup_stage ${package_root}/setup/${package_name})
set(setup_files ${package_root}/setup/files.nsh)
get_property(program_icon GLOBAL PROPERTY VANTOREL_WINDOWS_ICON)
# makensis with the package folder's definitions; then come -DOUTFILE=<setup.exe> and the
# script, VANTOREL_SETUP_SCRIPT. The setup program's test makes a build of its own with them
# (tests/windows).
set(VANTOREL_MAKENSIS_SETUP ${VANTOREL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DFILE_VERSION=${setup_file_version}
    -DSTAGE=${setup_stage} -DFILES=${setup_files} -DICON=${program_icon})
add_custom_command(OUTPUT ${VANTOREL_WINDOWS_SETUP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${setup_stage}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${stage} ${setup_stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${texts}/setup/README.txt ${setup_stage}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${setup_stage} -DOUTPUT=${setup_files}
          -P ${PROJECT_SOURCE_DIR}/cmake/NsisFileList.cmake
  COMMAND ${VANTOREL_MAKENSIS_SETUP} -DOUTFILE=${VANTOREL_WINDOWS_SETUP} ${VANTOREL_SETUP_SCRIPT}
  DEPENDS ${VANTOREL_SETUP_SCRIPT} ${nsis_includes} ${VANTOREL_WINDOWS_ZIP} ${texts}/setup/README.txt ${program_icon}
          ${PROJECT_SOURCE_DIR}/cmake/NsisFileList.cmake
  COMMENT "Making ${VANTOREL_WINDOWS_SETUP}"
  VERBATIM)
add_custom_target(windows_setup ALL DEPENDS ${VANTOREL_WINDOWS_SETUP})
# The zip is made once, by its own target: two targets making it side by side would collide.
add_dependencies(windows_setup windows_zip)

# Makes vantorel-<version>-source.tar.xz, the source of the Windows packages:
#   <name>-source/<name>/   the project as the build sees it: every file of the source folder
#                           but git's own and the build folders (the folders .gitignore names)
#   <name>-source/qt/       the Debian source package files Qt for Windows was built from,
#                           exactly, and SOURCE.txt, the settings it was built with
# Run at every build; the archive is made again only when a file in it has changed (a digest
# of their names and contents is kept beside it).
#   cmake -DSOURCE_DIR=<project> -DQT=<Qt for Windows> -DNAME=vantorel-<version> -DOUTPUT=<archive> -P SourceArchive.cmake
file(GLOB top_level RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/* ${SOURCE_DIR}/.*)
set(project_files)
foreach(entry IN LISTS top_level)
  if(entry MATCHES "^(\\.git|build.*)$")
    continue()
  endif()
  if(IS_DIRECTORY ${SOURCE_DIR}/${entry})
    file(GLOB_RECURSE inside RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${entry}/*)
    list(APPEND project_files ${inside})
  else()
    list(APPEND project_files ${entry})
  endif()
endforeach()
file(GLOB qt_files ${QT}/src/*)
list(APPEND qt_files ${QT}/share/doc/qt/SOURCE.txt)

set(contents "")
foreach(file IN LISTS project_files)
  file(SHA256 ${SOURCE_DIR}/${file} sum)
  string(APPEND contents "${file} ${sum}\n")
endforeach()
foreach(file IN LISTS qt_files)
  file(SHA256 ${file} sum)
  string(APPEND contents "${file} ${sum}\n")
endforeach()
string(SHA256 digest "${NAME}\n${contents}")
if(EXISTS ${OUTPUT} AND EXISTS ${OUTPUT}.sha256)
  file(READ ${OUTPUT}.sha256 made_from)
  if(made_from STREQUAL digest)
    return()
  endif()
endif()

message(STATUS "Packing ${OUTPUT}")
set(stage ${OUTPUT}.stage)
set(top ${stage}/${NAME}-source)
file(REMOVE_RECURSE ${stage})
foreach(file IN LISTS project_files)
  get_filename_component(folder ${top}/${NAME}/${file} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(CREATE_LINK ${SOURCE_DIR}/${file} ${top}/${NAME}/${file} COPY_ON_ERROR)
endforeach()
file(MAKE_DIRECTORY ${top}/qt)
foreach(file IN LISTS qt_files)
  get_filename_component(name ${file} NAME)
  file(CREATE_LINK ${file} ${top}/qt/${name} COPY_ON_ERROR)
endforeach()
# xz's fastest level: most of the archive is Qt's source, compressed already.
execute_process(
  COMMAND tar --sort=name --owner=0 --group=0 --numeric-owner -C ${stage} -cf - ${NAME}-source
  COMMAND xz -0 -T0
  OUTPUT_FILE ${OUTPUT}.partial
  RESULTS_VARIABLE results)
if(NOT results MATCHES "^0;0$")
  message(FATAL_ERROR "packing ${OUTPUT} failed: ${results}")
endif()
file(RENAME ${OUTPUT}.partial ${OUTPUT})
file(WRITE ${OUTPUT}.sha256 "${digest}")
file(REMOVE_RECURSE ${stage})

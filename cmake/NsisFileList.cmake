# Writes the setup program's file list, an NSIS header, from the package folder: the macro
# InstallPackageFiles puts each file in place, UninstallPackageFiles deletes exactly those
# files and then each folder they went into, deepest first, when it is empty. One list for
# both, so that the uninstaller takes away what the installer brought and no more: a file of
# the user's own in one of those folders stays, and so does its folder.
#   cmake -DSTAGE=<package folder> -DOUTPUT=<file list .nsh> -P NsisFileList.cmake
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(install "!macro InstallPackageFiles\n")
set(uninstall "!macro UninstallPackageFiles\n")
set(folders)
set(current_folder "none yet")
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  if(NOT folder STREQUAL current_folder)
    set(current_folder "${folder}")
    string(REPLACE "/" "\\" windows_folder "\\${folder}")
    if(NOT folder)
      set(windows_folder "")
    endif()
    string(APPEND install "  SetOutPath \"$INSTDIR${windows_folder}\"\n")
    while(folder)
      list(APPEND folders "${folder}")
      get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
  endif()
  string(REPLACE "/" "\\" windows_file "${file}")
  string(APPEND install "  File \"${STAGE}\\${windows_file}\"\n")
  string(APPEND uninstall "  Delete \"$INSTDIR\\${windows_file}\"\n")
endforeach()
# A folder sorts before the folders in it: backwards, each comes after them.
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" windows_folder "${folder}")
  string(APPEND uninstall "  RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${install}!macroend\n${uninstall}!macroend\n")

# The icon and version information a Windows program carries as resources: the icon is
# rendered from data/vantorel.svg at the sizes Windows draws and packed into an .ico at build
# time, and the version comes from the project() line.
find_program(VANTOREL_MAGICK convert REQUIRED)
enable_language(RC)

function(add_windows_resources target description)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/windows-resources)
  file(MAKE_DIRECTORY ${dir})
  set(pngs)
  foreach(size 16 24 32 48 64 256)
    add_custom_command(OUTPUT ${dir}/${size}.png
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${dir}/${size}.png ${VANTOREL_ICON_SVG}
      DEPENDS ${VANTOREL_ICON_SVG}
      VERBATIM)
    list(APPEND pngs ${dir}/${size}.png)
  endforeach()
  set(VANTOREL_ICO ${dir}/vantorel.ico)
  add_custom_command(OUTPUT ${VANTOREL_ICO}
    COMMAND ${VANTOREL_MAGICK} ${pngs} ${VANTOREL_ICO}
    DEPENDS ${pngs}
    COMMENT "Packing the Windows icon"
    VERBATIM)

  # The setup program shows the same icon (cmake/WindowsPackage.cmake).
  set_property(GLOBAL PROPERTY VANTOREL_WINDOWS_ICON ${VANTOREL_ICO})

  set(VANTOREL_FILE_NAME ${target})
  set(VANTOREL_FILE_DESCRIPTION ${description})
  string(REPLACE "." "," VANTOREL_VERSION_COMMAS "${PROJECT_VERSION}.0.0")
  string(REGEX REPLACE "^([0-9]+,[0-9]+,[0-9]+,[0-9]+).*" "\\1" VANTOREL_VERSION_COMMAS "${VANTOREL_VERSION_COMMAS}")
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/vantorel.rc.in ${dir}/${target}.rc @ONLY)
  # The resource compiler does not see the icon as a dependency of the script.
  set_source_files_properties(${dir}/${target}.rc PROPERTIES OBJECT_DEPENDS ${VANTOREL_ICO})
  target_sources(${target} PRIVATE ${dir}/${target}.rc)
endfunction()

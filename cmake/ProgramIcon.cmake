# The program's icon: drawn once as SVG (data/vantorel.svg), rendered to PNG at build time,
# built into the program for its windows and installed into the desktop's icon theme.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(VANTOREL_ICON_SVG ${PROJECT_SOURCE_DIR}/data/vantorel.svg)

# Gives `target` the resources ":/icons/48.png" and ":/icons/256.png" and installs the icon.
function(add_program_icon target)
  set(pngs)
  foreach(size 48 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${VANTOREL_ICON_SVG}
      DEPENDS ${VANTOREL_ICON_SVG}
      COMMENT "Rendering the ${size} px icon"
      VERBATIM)
    list(APPEND pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${VANTOREL_APP_ID}.png)
  endforeach()
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons)
  qt_add_resources(${target} program_icon PREFIX / BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${pngs})
  install(FILES ${VANTOREL_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${VANTOREL_APP_ID}.svg)
endfunction()

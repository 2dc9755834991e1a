# The program's icon: drawn once as SVG (data/vantorel.svg), rendered to PNG at build time,
# built into the program for its windows and installed into the desktop's icon theme.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(VANTOREL_ICON_SVG ${PROJECT_SOURCE_DIR}/data/vantorel.svg)

# Gives `target` the window icon as the resource ":/icons/48.png" and, except on Windows,
# installs the icon into the theme at 48 and 256 px and as SVG. The window icon is the size task bars and title bars
# draw; larger views take the theme's icon through the desktop file, so the program does not
# decode and hand the window system a 256 px image at every start.
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
    if(NOT WIN32)
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME ${VANTOREL_APP_ID}.png)
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons)
  add_custom_target(${target}_theme_icons ALL DEPENDS ${pngs})
  qt_add_resources(${target} program_icon PREFIX / BASE ${CMAKE_CURRENT_BINARY_DIR}
                   FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/48.png)
  if(NOT WIN32)
    install(FILES ${VANTOREL_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${VANTOREL_APP_ID}.svg)
  endif()
endfunction()

# The icons of an installation in the hicolor theme: the application's and the project files'
# SVG from resources/icons, and PNGs of 48, 128 and 256 pixels that the program's own renderer
# draws from them while it is built (the designer renders the same for the user). Nothing
# generated is kept in the source tree.
set(TINTARO_DESKTOP_ICONS tintaro apps application-x-tintaro-fbp mimetypes)

function(tintaro_add_desktop_icons)
  add_executable(desktop-icon-render ${PROJECT_SOURCE_DIR}/src/platform/tool/DesktopIconRender.cpp)
  target_link_libraries(desktop-icon-render PRIVATE tintaro_core)
  tintaro_warnings(desktop-icon-render)
  set(outputs)
  set(list ${TINTARO_DESKTOP_ICONS})
  list(LENGTH list count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET list ${i} name)
    list(GET list ${j} context)
    set(svg ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg)
    install(FILES ${svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context})
    foreach(size 48 128 256)
      set(dir ${CMAKE_BINARY_DIR}/share/icons/hicolor/${size}x${size}/${context})
      set(png ${dir}/${name}.png)
      add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND desktop-icon-render ${svg} ${png} ${size}
        DEPENDS desktop-icon-render ${svg}
        COMMENT "Rendering the icon ${name} at ${size} pixels"
        VERBATIM)
      list(APPEND outputs ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/${context})
    endforeach()
  endforeach()
  add_custom_target(desktop_icons ALL DEPENDS ${outputs})
endfunction()

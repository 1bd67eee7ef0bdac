# Fails the configure step when a core target links, directly or through one of our own
# libraries, QtWidgets or QtPrintSupport (whose dialogs pull the widgets in).
function(_tintaro_collect_links target out)
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(NOT libs)
    set(libs)
  endif()
  set(all ${libs})
  foreach(lib IN LISTS libs)
    if(TARGET ${lib} AND lib MATCHES "^tintaro")
      _tintaro_collect_links(${lib} sub)
      list(APPEND all ${sub})
    endif()
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

function(_tintaro_check_layer_now target)
  _tintaro_collect_links(${target} libs)
  foreach(lib IN LISTS libs)
    if(lib MATCHES "Widgets|PrintSupport|tintaro_ui")
      message(FATAL_ERROR "Layer rule broken: ${target} links ${lib}; the core and the command-line tool "
                          "may link only QtCore and QtGui.")
    endif()
  endforeach()
endfunction()

function(tintaro_check_layer target)
  # Deferred to the end of the directory so that links added later are seen too.
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} CALL _tintaro_check_layer_now ${target})")
endfunction()

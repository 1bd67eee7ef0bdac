# The language tables live in the source tree as UTF-8 text (resources/lang/<code>.txt, CR LF);
# the localizer reads UTF-16 little-endian with a byte-order mark. Each table is converted while
# the program is built and becomes the resource ":/LANG/<100 + language index>".
set(TINTARO_LANG_TABLES deu 0 eng 1 fra 2 ita 3 spa 4 por 5 ned 9 dan 18)

function(tintaro_add_lang_tables target)
  add_executable(lang-table-convert ${PROJECT_SOURCE_DIR}/src/i18n/tool/LangTableConvert.cpp)
  set(dir ${CMAKE_BINARY_DIR}/lang-tables)
  file(MAKE_DIRECTORY ${dir})
  set(outputs)
  set(list ${TINTARO_LANG_TABLES})
  list(LENGTH list count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET list ${i} code)
    list(GET list ${j} index)
    set(in ${PROJECT_SOURCE_DIR}/resources/lang/${code}.txt)
    if(NOT EXISTS ${in})
      continue()
    endif()
    math(EXPR id "100 + ${index}")
    set(out ${dir}/${id})
    add_custom_command(
      OUTPUT ${out}
      COMMAND lang-table-convert ${in} ${out}
      DEPENDS lang-table-convert ${in}
      COMMENT "Converting the language table ${code}"
      VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  set_source_files_properties(${outputs} PROPERTIES GENERATED TRUE HEADER_FILE_ONLY ON)
  qt_add_resources(${target} tintaro_lang_tables PREFIX "/LANG" BASE ${dir} FILES ${outputs})
endfunction()

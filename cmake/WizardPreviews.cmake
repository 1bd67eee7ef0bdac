# The new-project wizard's preview pictures are drawn by the program's own renderer while it is
# built: tintaro-cli builds each product, fills its frames with sample photos and writes a JPEG.
# Nothing generated is kept in the source tree. Each picture is its own build step, so a changed
# renderer redraws the pictures in parallel; a picture whose bytes come out the same is left
# untouched and nothing downstream (the resource compiler, the link) runs again.
#
# Picture name and the product code of the wizard's final choice that shows it; calendars show
# January of the build year (SOURCE_DATE_EPOCH, when set, fixes it).
set(TINTARO_WIZARD_PREVIEWS
    WIZ_PHOTOBOOKLET 1
    WIZ_PHOTOBOOKLETBORDER 2
    WIZ_PHOTOBOOK_4_6 11
    WIZ_10X15_SINGLES 21
    WIZ_PHOTOBOOK_8_5_TRADITION 31
    WIZ_PHOTOBOOK_8_5_HORIZON 32
    WIZ_PHOTOBOOK_8_5_VERTICON 33
    WIZ_PHOTOBOOK_8_5_FULLSIZE_R 44
    WIZ_PHOTOBOOK_8_5_TRADITION_R 41
    WIZ_PHOTOBOOK_8_5_HORIZON_R 42
    WIZ_PHOTOBOOK_8_5_VERTICON_R 43
    WIZ_KALENDER_A4_1 61
    WIZ_KALENDER_A4_2 62
    WIZ_KALENDER_A4_3 63
    WIZ_KALENDER_A4_4 64
    WIZ_KALENDER_A5_1 71
    WIZ_KALENDER_A5_2 72
    WIZ_KALENDER_A5_3 73
    WIZ_KALENDER_A6_1 141
    WIZ_KALENDER_A6_2 142
    WIZ_KALENDER_A6_3 143
    WIZ_KALENDER_A6_4 144)

# Adds the pictures to TARGET as the resources ":/wizard/<name>.jpg".
function(tintaro_add_wizard_previews target)
  string(TIMESTAMP build_year "%Y" UTC)
  set(dir ${CMAKE_BINARY_DIR}/wizard-previews)
  file(MAKE_DIRECTORY ${dir})
  set(pictures)
  set(list ${TINTARO_WIZARD_PREVIEWS})
  list(LENGTH list count)
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET list ${i} name)
    list(GET list ${j} code)
    set(out ${dir}/${name}.jpg)
    add_custom_command(
      OUTPUT ${out}
      # In the sanitizer build the generator is a build tool here; its leaks are the tests' business.
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
              $<TARGET_FILE:tintaro-cli> preview --product ${code} --year ${build_year} --size 800x600 ${out}
      DEPENDS tintaro-cli
      COMMENT "Drawing the wizard preview ${name}"
      VERBATIM)
    list(APPEND pictures ${name}.jpg)
  endforeach()
  list(TRANSFORM pictures PREPEND ${dir}/ OUTPUT_VARIABLE paths)
  set_source_files_properties(${paths} PROPERTIES GENERATED TRUE HEADER_FILE_ONLY ON)
  qt_add_resources(${target} tintaro_wizard_previews PREFIX "/wizard" BASE ${dir} FILES ${paths})
endfunction()

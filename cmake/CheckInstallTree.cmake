# Installs the build into a scratch prefix and lets appstreamcli check the tree the way software
# centres read it: the metainfo, the desktop entry it launches and the icons. Called by a test:
#   cmake -DBUILD=<build dir> -DPREFIX=<scratch dir> -P CheckInstallTree.cmake
# Exits with 77 (the test counts as skipped) when appstreamcli is not installed.
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message("appstreamcli is not installed (scripts/setup.sh installs the appstream package)")
  cmake_language(EXIT 77)
endif()
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "the installation into ${PREFIX} failed")
endif()
foreach(file share/metainfo/io.tintaro.PrintKit.metainfo.xml share/applications/tintaro.desktop
             share/thumbnailers/tintaro.thumbnailer share/icons/hicolor/scalable/apps/tintaro.svg
             share/icons/hicolor/48x48/apps/tintaro.png share/icons/hicolor/256x256/mimetypes/application-x-tintaro-fbp.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "the installation lacks ${file}")
  endif()
endforeach()
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${PREFIX} RESULT_VARIABLE valid OUTPUT_VARIABLE report
                ERROR_VARIABLE report)
file(REMOVE_RECURSE ${PREFIX})
if(NOT valid EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate-tree failed:\n${report}")
endif()

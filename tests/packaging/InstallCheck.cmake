# Installs the build into a staging folder and compares the files there with the list a
# package must hold. Run as: cmake -DBUILD=<build folder> -DSTAGE=<folder> -P InstallCheck.cmake
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}/usr
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
list(SORT installed)
set(expected
  usr/bin/vestorylist
  usr/bin/vsl
  usr/share/applications/org.vestorylist.VestoryList.desktop
  usr/share/doc/vestorylist/README.md
  usr/share/doc/vestorylist/changelog.Debian.gz
  usr/share/doc/vestorylist/copyright
  usr/share/doc/vestorylist/docs/screenshot-about.png
  usr/share/doc/vestorylist/docs/screenshot-item-dialog.png
  usr/share/doc/vestorylist/docs/screenshot-main.png
  usr/share/doc/vestorylist/docs/screenshot-popup.png
  usr/share/icons/hicolor/128x128/apps/org.vestorylist.VestoryList.png
  usr/share/icons/hicolor/16x16/apps/org.vestorylist.VestoryList.xpm
  usr/share/icons/hicolor/256x256/apps/org.vestorylist.VestoryList.png
  usr/share/icons/hicolor/32x32/apps/org.vestorylist.VestoryList.xpm
  usr/share/icons/hicolor/48x48/apps/org.vestorylist.VestoryList.png
  usr/share/icons/hicolor/64x64/apps/org.vestorylist.VestoryList.png
  usr/share/icons/hicolor/scalable/apps/org.vestorylist.VestoryList.svg
  usr/share/lintian/overrides/vestorylist
  usr/share/man/man1/vestorylist.1.gz
  usr/share/man/man1/vsl.1.gz
  usr/share/metainfo/org.vestorylist.VestoryList.metainfo.xml
)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed_lines "${installed}")
  message(FATAL_ERROR "installed files differ from the expected list:\n  ${installed_lines}")
endif()
file(REMOVE_RECURSE ${STAGE})

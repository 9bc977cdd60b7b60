# Installs the build into a staging folder, compares the files there with the list a package
# must hold, and asks the desktop's own tools what a file manager makes of a list file with only
# the staged files installed. Run as:
#   cmake -DBUILD=<build folder> -DSTAGE=<folder> -DLIST=<a list file> -P InstallCheck.cmake
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
  usr/share/doc/vestorylist/docs/screenshot-200.png
  usr/share/doc/vestorylist/docs/screenshot-about.png
  usr/share/doc/vestorylist/docs/screenshot-de.png
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
  usr/share/mime/packages/org.vestorylist.VestoryList.xml
)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed_lines "${installed}")
  message(FATAL_ERROR "installed files differ from the expected list:\n  ${installed_lines}")
endif()

# Runs a program with the variables in run_env and keeps its output in `out`; a program that is
# missing or fails stops the check.
function(run out package program)
  find_program(path_${program} ${program})
  if(NOT path_${program})
    message(FATAL_ERROR "${program} is needed (Debian ${package})")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${run_env} ${path_${program}} ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE text TIMEOUT 30)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "`${program} ${ARGN}` failed (${result}):\n${text}")
  endif()
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(share ${STAGE}/usr/share)
run(ignored desktop-file-utils desktop-file-validate
    ${share}/applications/org.vestorylist.VestoryList.desktop)
# What the package's triggers do on a real system, here for the staged folders alone.
run(ignored shared-mime-info update-mime-database ${share}/mime)
run(ignored desktop-file-utils update-desktop-database ${share}/applications)
file(COPY_FILE ${LIST} ${STAGE}/Garments.vsl)
# GNOME's file manager finds a file's type through GIO, as xdg-mime does on GNOME.
set(run_env XDG_CURRENT_DESKTOP=GNOME XDG_DATA_DIRS=${share} XDG_DATA_HOME=${STAGE}/home
    XDG_CONFIG_HOME=${STAGE}/config XDG_CONFIG_DIRS=${STAGE}/etc)
run(type xdg-utils xdg-mime query filetype ${STAGE}/Garments.vsl)
run(program xdg-utils xdg-mime query default application/x-vestorylist)
run(icons libglib2.0-bin gio info -a standard::icon ${STAGE}/Garments.vsl)
string(REGEX MATCH "standard::icon: [^,\n]*" icon "${icons}")
if(NOT type STREQUAL "application/x-vestorylist" OR
   NOT program STREQUAL "org.vestorylist.VestoryList.desktop" OR
   NOT icon STREQUAL "standard::icon: org.vestorylist.VestoryList")
  message(FATAL_ERROR
          "a list file is \"${type}\" with \"${icon}\", opened with \"${program}\"")
endif()
file(REMOVE_RECURSE ${STAGE})

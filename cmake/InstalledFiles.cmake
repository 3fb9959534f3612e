# Every file an installation holds, relative to its prefix, and the check that
# they are all there; used by CheckInstall.cmake and CheckPackage.cmake.
set(PARTITION_INSTALLED_FILES
  bin/partitionen
  share/applications/invalid.partitionen.Partitionen.desktop
  share/metainfo/invalid.partitionen.Partitionen.metainfo.xml
  share/man/man1/partitionen.1.gz
  share/doc/partitionen/copyright
  share/doc/partitionen/changelog.gz
  share/icons/hicolor/16x16/apps/partitionen.xpm
  share/icons/hicolor/32x32/apps/partitionen.xpm
  share/icons/hicolor/48x48/apps/partitionen.png
  share/icons/hicolor/64x64/apps/partitionen.png
  share/icons/hicolor/128x128/apps/partitionen.png
  share/icons/hicolor/256x256/apps/partitionen.png
  share/icons/hicolor/scalable/apps/partitionen.svg)

# Stops the script with "<what> lacks <file>" for the first file of the list
# that is not below `prefix`.
function(partition_check_installed prefix what)
  foreach(file ${PARTITION_INSTALLED_FILES})
    if(NOT EXISTS "${prefix}/${file}")
      message(FATAL_ERROR "${what} lacks ${file}")
    endif()
  endforeach()
endfunction()

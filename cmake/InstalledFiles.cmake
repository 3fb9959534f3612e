# Every file an installation holds, relative to its prefix; checked by
# CheckInstall.cmake and CheckPackage.cmake.
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

# Installs the build in BUILD_DIR into the empty folder PREFIX and checks that
# the program, its desktop entry, metadata, manual page and every icon size
# arrive where the desktop looks for them.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/InstalledFiles.cmake)
partition_check_installed("${PREFIX}" "the installation")
file(READ "${PREFIX}/share/applications/invalid.partitionen.Partitionen.desktop" entry)
foreach(line "Exec=partitionen" "Icon=partitionen" "Categories=Education;Math;")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()
file(READ "${PREFIX}/share/icons/hicolor/16x16/apps/partitionen.xpm" icon)
string(FIND "${icon}" "\"16 16 " at)
if(at EQUAL -1)
  message(FATAL_ERROR "the 16x16 icon is not 16 x 16")
endif()

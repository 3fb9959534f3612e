# Unpacks the Debian package PACKAGE into the empty folder UNPACK with
# dpkg-deb and checks its files and the packages it depends on.
file(REMOVE_RECURSE "${UNPACK}")
execute_process(COMMAND dpkg-deb -x "${PACKAGE}" "${UNPACK}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x failed on ${PACKAGE}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/InstalledFiles.cmake)
partition_check_installed("${UNPACK}/usr" "the package")
execute_process(COMMAND dpkg-deb -f "${PACKAGE}" Package Architecture Depends
  OUTPUT_VARIABLE fields RESULT_VARIABLE result)
foreach(wanted "Package: partitionen" "Architecture: ${ARCH}" "libqt6widgets6"
               "libqt6gui6" "libqt6core6" "fonts-liberation2" "qt6-qpa-plugins" "qt6-translations-l10n")
  string(FIND "${fields}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's control lacks ${wanted}:\n${fields}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb -c "${PACKAGE}" OUTPUT_VARIABLE listing)
message(STATUS "Package contents:\n${listing}")

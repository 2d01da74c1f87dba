# What a Windows user downloads: a zip that unpacks into one folder, laid out
# so that the program finds its help file as ../Help/varnolt100.hlp when it is
# started in its own folder, as Explorer starts it:
#   varnolt-1.00-windows-x64/bin/varnolt.exe
#   varnolt-1.00-windows-x64/Help/varnolt100.hlp, varnolt100.cnt
#   varnolt-1.00-windows-x64/README.txt, manual.html, LICENSE
# Written by CPack; scripts/package builds both zips.
#
# The zip is the same byte for byte wherever and whenever it is built:
# scripts/package runs CPack with SOURCE_DATE_EPOCH, which CPack gives every
# entry as its time (and strip, run by the install, to the exe), and under
# fakeroot, so that every entry's owner is root, and with umask 022 for the
# folders' permissions. The rest is set here.
set(VARNOLT_RELEASE 1.00)
# All of the release is one component: CPack lists a component's files
# sorted by name, and a whole install's files in the order the file system
# happens to give them.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME release)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(VARNOLT_PACKAGE_ARCH x64)
else()
  set(VARNOLT_PACKAGE_ARCH x86)
endif()

# Windows users read the text files in Notepad: give them CRLF line ends.
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package-files/LICENSE
               @ONLY NEWLINE_STYLE CRLF)
install(CODE "
  file(READ \"${CMAKE_BINARY_DIR}/README.txt\" text)
  string(REPLACE \"\\n\" \"\\r\\n\" text \"\${text}\")
  file(WRITE \"${CMAKE_BINARY_DIR}/package-files/README.txt\" \"\${text}\")")

install(TARGETS varnolt RUNTIME DESTINATION bin)
install(FILES ${CMAKE_BINARY_DIR}/Help/varnolt100.hlp ${CMAKE_BINARY_DIR}/Help/varnolt100.cnt
        DESTINATION Help)
install(FILES ${CMAKE_BINARY_DIR}/package-files/README.txt ${CMAKE_BINARY_DIR}/package-files/LICENSE
              ${CMAKE_BINARY_DIR}/manual.html
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnolt)
set(CPACK_PACKAGE_VENDOR "the Varnolt developers")
set(CPACK_PACKAGE_VERSION ${VARNOLT_RELEASE})
set(CPACK_PACKAGE_FILE_NAME varnolt-${VARNOLT_RELEASE}-windows-${VARNOLT_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

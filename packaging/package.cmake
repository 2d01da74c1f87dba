# What a Windows user downloads: a zip with varnolt.exe, README.txt and
# LICENSE, written by CPack. scripts/package builds both of them.
set(VARNOLT_RELEASE 1.00)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(VARNOLT_PACKAGE_ARCH x64)
else()
  set(VARNOLT_PACKAGE_ARCH x86)
endif()

# Windows users read these two in Notepad: give them CRLF line ends.
configure_file(${CMAKE_SOURCE_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/package-files/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package-files/LICENSE
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS varnolt RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/package-files/README.txt ${CMAKE_BINARY_DIR}/package-files/LICENSE
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnolt)
set(CPACK_PACKAGE_VENDOR "the Varnolt developers")
set(CPACK_PACKAGE_VERSION ${VARNOLT_RELEASE})
set(CPACK_PACKAGE_FILE_NAME varnolt-${VARNOLT_RELEASE}-windows-${VARNOLT_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)

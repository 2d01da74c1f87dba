# The manual has one source. Halibut writes from it the help file that
# Help > Contents opens where the system has a help viewer
# (../Help/varnolt100.hlp from the program's folder, with its contents file),
# the manual as one HTML page, which it opens in the web browser elsewhere
# (../manual.html), and as plain text, which is the release's README.txt.
# Halibut dates the help file by SOURCE_DATE_EPOCH when it is given.
# Where Halibut is missing (a native Windows build) the program is built
# without its manual.
find_program(HALIBUT halibut)
if(NOT HALIBUT)
  message(STATUS "halibut not found: the manual is not built")
  return()
endif()

set(MANUAL_SOURCE ${CMAKE_SOURCE_DIR}/manual/varnolt.but)
set(MANUAL_FILES ${CMAKE_BINARY_DIR}/Help/varnolt100.hlp ${CMAKE_BINARY_DIR}/Help/varnolt100.cnt
                 ${CMAKE_BINARY_DIR}/manual.html ${CMAKE_BINARY_DIR}/README.txt)
# Halibut joins an HTML file name to its folder without a separator: names
# relative to the build folder keep it right.
add_custom_command(OUTPUT ${MANUAL_FILES}
                   COMMAND ${CMAKE_COMMAND} -E make_directory Help
                   COMMAND ${VARNOLT_DATED} ${HALIBUT} --winhelp=Help/varnolt100.hlp --text=README.txt --html=manual.html
                           ${MANUAL_SOURCE}
                   WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                   DEPENDS ${MANUAL_SOURCE}
                   COMMENT "Writing the manual")
add_custom_target(manual ALL DEPENDS ${MANUAL_FILES})

# The release a Windows user downloads: a zip holding one folder,
# postlark-<version>, with postlark.exe, its own clip mail.avi, README.txt and
# LICENSE.txt. Nothing to install: unzip it anywhere and run postlark.exe. scripts/release.sh
# builds it with `cpack` in a build of its own.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_postlark_platform win64)
else()
  set(_postlark_platform win32)
endif()
set(POSTLARK_PACKAGE_FOLDER postlark-${POSTLARK_VERSION_TEXT})

# Text files for Windows: Notepad wants CRLF line ends.
configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
find_package(Python3 COMPONENTS Interpreter QUIET)
if(Python3_Interpreter_FOUND)
  add_custom_command(OUTPUT README.txt
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/readme_txt.py
            ${CMAKE_SOURCE_DIR}/README.md README.txt ${POSTLARK_VERSION_TEXT}
    DEPENDS README.md scripts/readme_txt.py
    COMMENT "README.txt from the user half of README.md")
  add_custom_target(postlark_readme ALL DEPENDS README.txt)
else()
  message(STATUS "No Python 3: no README.txt, so no release zip from this build")
  return()
endif()

install(TARGETS postlark RUNTIME DESTINATION ${POSTLARK_PACKAGE_FOLDER} COMPONENT postlark)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt ${CMAKE_SOURCE_DIR}/src/app/mail.avi
        DESTINATION ${POSTLARK_PACKAGE_FOLDER} COMPONENT postlark)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME postlark)
set(CPACK_PACKAGE_VENDOR Postlark)
set(CPACK_PACKAGE_VERSION ${POSTLARK_VERSION_TEXT})
set(CPACK_PACKAGE_FILE_NAME postlark-${POSTLARK_VERSION_TEXT}-${_postlark_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# One component, packed as one zip: CPack then lists its files sorted by
# name, where a plain install would list them in the order the disk returns.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL postlark)

# Read by cpack when it packs: every entry gets the time of the commit, and
# zip's DOS times are written as UTC, not in the packer's time zone.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/PostlarkPackTime.cmake @ONLY CONTENT [[
set(ENV{TZ} UTC)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY "@CMAKE_SOURCE_DIR@"
    OUTPUT_VARIABLE _commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _git_status ERROR_QUIET)
  if(_git_status EQUAL 0 AND _commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${_commit_time})
  else()
    message(WARNING "No commit time (not a git checkout, and no SOURCE_DATE_EPOCH): "
                    "the zip's entries carry the time of packing")
  endif()
endif()
]])
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/PostlarkPackTime.cmake)
include(CPack)

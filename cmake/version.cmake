# Postlark's version lives in src/app/version.h (the caption and the exe's
# version record read it there); the project and the zip's name take it from
# there too, so it is changed in one place.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../src/app/version.h _postlark_version_lines
     REGEX "^#define POSTLARK_VERSION_")
foreach(_part MAJOR MINOR REVISION TEXT)
  if(NOT _postlark_version_lines MATCHES "#define POSTLARK_VERSION_${_part} +\"?([0-9.]+)\"?")
    message(FATAL_ERROR "src/app/version.h has no POSTLARK_VERSION_${_part}")
  endif()
  set(POSTLARK_VERSION_${_part} ${CMAKE_MATCH_1})
endforeach()
# Numeric, for project(): 1.2.0. The text users see (caption, zip name): 1.02.
set(POSTLARK_VERSION ${POSTLARK_VERSION_MAJOR}.${POSTLARK_VERSION_MINOR}.${POSTLARK_VERSION_REVISION})
unset(_postlark_version_lines)
unset(_part)

# Two builds of the same commit give the same postlark.exe, whatever folder
# they are built in and whenever: nothing of the build's place or time may
# reach the exe.
if(MSVC)
  # Not verified here (no MSVC on the build machine): no time stamps in the
  # objects and the exe, and source paths written relative to the tree
  # (/pathmap takes effect only with /experimental:deterministic).
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:/Brepro;/experimental:deterministic>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:/pathmap:${CMAKE_SOURCE_DIR}=.;/pathmap:${CMAKE_BINARY_DIR}=.>")
  add_link_options(/Brepro)
else()
  # __FILE__ and any debug records name files relative to the tree.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=.>")
  # The linker stamps the exe with the time of linking (or SOURCE_DATE_EPOCH,
  # when set), and the PE checksum follows the stamp: write zero instead.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
# Static archives: binutils' ar in Debian writes zero times and owners by
# default, and CMake lists their members in a fixed order. The resource
# compiler writes zero times in the resource directory.

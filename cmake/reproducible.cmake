# Release builds (the `dist` preset) give the same bytes in any folder at any time: no build
# paths in the binary (file names in assertions and debug data are made relative), no link time
# stamp in the PE header, no debug data.
option(TORVEX_REPRODUCIBLE "Build without paths or time stamps in the binaries (for releases)" OFF)
if(TORVEX_REPRODUCIBLE)
  add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                      -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  if(WIN32)
    add_link_options(-Wl,--no-insert-timestamp -s)
  endif()
endif()

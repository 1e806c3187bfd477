# The Windows download, veltra-VERSION-win64.zip: the programs (each on its
# own, the C++ runtime linked in), the README, the changelog, the licence,
# veltra-cli's --json documents and the notices of the parts built into the
# programs (libraries, and the PCI id database the boards are named from),
# taken from the installed packages.
set(zipName veltra-${PROJECT_VERSION}-win64)
set(stage ${CMAKE_BINARY_DIR}/${zipName})

set(programs)
set(parts)
if(VELTRA_BUILD_UI)
  list(APPEND programs veltra)
  set(parts ${VELTRA_WINDOW_PARTS})
endif()
if(VELTRA_BUILD_CLI)
  list(APPEND programs veltra-cli)
  set(parts ${VELTRA_CLI_PARTS})
endif()

set(notices
  /usr/share/doc/mingw-w64-x86-64-dev/copyright mingw-w64.txt
  /usr/share/doc/gcc-mingw-w64-base/copyright gcc-runtime.txt)
while(parts)
  list(POP_FRONT parts name source copyright)
  string(REPLACE "/" "-" name ${name})
  list(APPEND notices ${copyright} ${name}.txt)
endwhile()

set(steps)
foreach(program ${programs})
  list(APPEND steps COMMAND ${CMAKE_STRIP} -o ${stage}/${program}.exe $<TARGET_FILE:${program}>)
endforeach()
while(notices)
  list(POP_FRONT notices from to)
  list(APPEND steps COMMAND ${CMAKE_COMMAND} -E copy ${from} ${stage}/third-party/${to})
endwhile()
if(VELTRA_BUILD_UI)
  # The README shows the window in it.
  list(APPEND steps COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/windows.png ${stage}/docs)
endif()
if(VELTRA_BUILD_CLI)
  list(APPEND steps COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/json.md
                    ${PROJECT_SOURCE_DIR}/docs/veltra-cli.schema.json ${stage}/docs)
endif()

add_custom_target(windows_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${stage}.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/docs ${stage}/third-party
  ${steps}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
          ${PROJECT_SOURCE_DIR}/LICENSE ${stage}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR} ${CMAKE_COMMAND} -E tar cf ${zipName}.zip --format=zip ${zipName}
  DEPENDS ${programs}
  COMMENT "Packing ${zipName}.zip"
  VERBATIM)

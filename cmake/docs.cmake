# The documents an installation carries besides the programs' own: the man
# pages compressed, the copyright file and the changelog.

# A man page is installed compressed, as man-db looks for it; -n leaves the
# name and time out of the compressed file, so a page always compresses to
# the same bytes.
find_program(GZIP gzip REQUIRED)
function(veltra_install_man_page page)
  get_filename_component(name ${page} NAME)
  string(REGEX MATCH "[1-9]$" section ${name})
  set(plain ${CMAKE_CURRENT_BINARY_DIR}/man/${name})
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${page} ${plain}
    COMMAND ${GZIP} -9nf ${plain}
    DEPENDS ${page}
    VERBATIM)
  add_custom_target(man_page_${name} ALL DEPENDS ${plain}.gz)
  install(FILES ${plain}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()

# The Windows download carries its own notices (cli/CMakeLists.txt).
if(WIN32)
  return()
endif()

# Debian's python3 makes the copyright file and the changelog and runs the
# tests written in Python: it sees the modules scripts/install-deps installs,
# where a python3 of one's own earlier on PATH may not.
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

# The copyright file in Debian's machine-readable format, from LICENSE and
# the copyright files of the parts built in. LICENSE grants no licence to
# others: its terms go by the short name "proprietary".
set(VELTRA_COPYRIGHT ${PROJECT_BINARY_DIR}/copyright)
set(VELTRA_BUILT_IN_PARTS)
if(VELTRA_BUILD_CLI)
  set(VELTRA_BUILT_IN_PARTS ${VELTRA_CLI_PARTS})
elseif(VELTRA_BUILD_UI)
  set(VELTRA_BUILT_IN_PARTS ${VELTRA_WINDOW_PARTS})
endif()
set(partCopyrights ${VELTRA_BUILT_IN_PARTS})
list(FILTER partCopyrights INCLUDE REGEX "^/")
add_custom_command(OUTPUT ${VELTRA_COPYRIGHT}
  COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/scripts/make-copyright ${VELTRA_COPYRIGHT}
          ${PROJECT_SOURCE_DIR}/LICENSE proprietary ${VELTRA_CONTACT} ${VELTRA_BUILT_IN_PARTS}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-copyright ${PROJECT_SOURCE_DIR}/LICENSE ${partCopyrights}
  VERBATIM)

# CHANGELOG.md in the form Debian reads a changelog in, compressed as the
# man pages are.
set(VELTRA_CHANGELOG ${PROJECT_BINARY_DIR}/changelog)
add_custom_command(OUTPUT ${VELTRA_CHANGELOG}.gz
  COMMAND ${PYTHON3} ${PROJECT_SOURCE_DIR}/scripts/make-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md veltra
          ${VELTRA_CONTACT} ${VELTRA_CHANGELOG}
  COMMAND ${GZIP} -9nf ${VELTRA_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md
  VERBATIM)

add_custom_target(package_docs ALL DEPENDS ${VELTRA_COPYRIGHT} ${VELTRA_CHANGELOG}.gz)
install(FILES ${VELTRA_COPYRIGHT} ${VELTRA_CHANGELOG}.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltra)

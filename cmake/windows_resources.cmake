# What Windows shows of a program in its file's properties, and the manifest
# that tells Windows how to run it.
#   veltra_add_version_resource(<target> "<description>" [MANIFEST <file.manifest>])
# The manifest is configured with @VELTRA_VERSION_QUAD@.
enable_language(RC)

file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE VELTRA_COPYRIGHT_LINE REGEX "^Copyright " LIMIT_COUNT 1)
set(VELTRA_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
string(REPLACE "." "," VELTRA_VERSION_COMMAS ${VELTRA_VERSION_QUAD})

function(veltra_add_version_resource target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "MANIFEST" "")
  set(VELTRA_TARGET ${target})
  set(VELTRA_FILE_NAME ${target}.exe)
  set(VELTRA_FILE_DESCRIPTION ${description})
  set(VELTRA_MANIFEST_LINE "")
  if(arg_MANIFEST)
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${arg_MANIFEST} ${manifest} @ONLY)
    # 1 is the manifest of a program, 24 the manifest's resource type.
    set(VELTRA_MANIFEST_LINE "1 24 \"${manifest}\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

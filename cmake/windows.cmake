# What a cross-build for Windows uses in place of the host's packages.

# CLI11 and nlohmann/json are headers only: the host's copies serve the
# target, from a folder that holds them alone (the rest of /usr/include is
# the host's C library, which must not reach a Windows build).
set(VELTRA_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${VELTRA_HOST_HEADERS})
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps windows")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${VELTRA_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()
foreach(library CLI11::CLI11 nlohmann_json::nlohmann_json)
  add_library(${library} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${library} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${VELTRA_HOST_HEADERS})
endforeach()

# GoogleTest, built for the target from Debian's sources (which name its
# libraries GTest::gtest and GTest::gtest_main, as the installed package does).
if(BUILD_TESTING)
  set(VELTRA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built for the target")
  if(NOT EXISTS ${VELTRA_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "${VELTRA_GTEST_SOURCE} is missing: run scripts/install-deps windows")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELTRA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

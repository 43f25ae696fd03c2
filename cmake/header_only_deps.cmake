# fmt, CLI11 and SimpleIni for a cross build: Debian's headers used header-only, under the same target
# names the native build gets from their CMake and pkg-config files, so every CMakeLists links them alike.
# The cross compiler must not see the host's /usr/include as a whole, so only these headers are linked
# into an include directory of the build.
set(_deps_include ${CMAKE_BINARY_DIR}/header-only-deps/include)
file(MAKE_DIRECTORY ${_deps_include})
foreach(_header fmt/format-inl.h CLI/CLI.hpp SimpleIni.h)
  find_path(_found ${_header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT _found)
    message(FATAL_ERROR "${_header} not found in /usr/include (install libfmt-dev libcli11-dev libsimpleini-dev)")
  endif()
  string(REGEX REPLACE "/.*" "" _entry ${_header})
  if(NOT EXISTS ${_deps_include}/${_entry})
    file(CREATE_LINK ${_found}/${_entry} ${_deps_include}/${_entry} SYMBOLIC)
  endif()
  unset(_found CACHE)
endforeach()

add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${_deps_include})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${_deps_include})

add_library(PkgConfig::SIMPLEINI INTERFACE IMPORTED)
target_include_directories(PkgConfig::SIMPLEINI SYSTEM INTERFACE ${_deps_include})
# Debian's header keeps the template definitions for its library unless asked for them.
target_compile_definitions(PkgConfig::SIMPLEINI INTERFACE SI_IMPLEMENTATION)

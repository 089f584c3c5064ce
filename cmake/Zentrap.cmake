# Shared build settings: warnings as errors for our own code, the sanitizer build, and a
# helper that makes a library from an explicit source list (an interface library while it has none).

set(ZENTRAP_WARNINGS -Wall -Wextra -Wpedantic -Werror -Wno-error=deprecated-declarations)
# GCC 12 at -O3 reports std::string concatenation as overlapping copies (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND ZENTRAP_WARNINGS -Wno-error=restrict)
endif()

if(ZENTRAP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzz builds instrument every library for coverage, not only the fuzz targets' own files.
if(ZENTRAP_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(zentrap_warnings target)
  target_compile_options(${target} PRIVATE ${ZENTRAP_WARNINGS})
endfunction()

# zentrap_library(NAME SOURCES ... LINK ...)
function(zentrap_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
    zentrap_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
  endif()
endfunction()

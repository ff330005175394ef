# Flags every target of ours gets: strict warnings as errors, and the sanitizers in the
# "Sanitize" build type (ASan + UBSan, stopping at the first finding).
set(CMAKE_CXX_FLAGS_SANITIZE "-O1 -g -fno-omit-frame-pointer" CACHE STRING "" FORCE)
set(QUORVIN_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined)

function(quorvin_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # g++ 12 at -O2/-O3 reports std::string concatenations as overlapping copies (GCC bug 105329):
  # a false positive of the standard library's inlined code, not of ours.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/platform)
  if(CMAKE_BUILD_TYPE STREQUAL "Sanitize")
    target_compile_options(${target} PRIVATE ${QUORVIN_SANITIZE_FLAGS})
    target_link_options(${target} PRIVATE ${QUORVIN_SANITIZE_FLAGS})
  endif()
endfunction()

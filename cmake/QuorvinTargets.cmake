# Flags every target of ours gets: strict warnings as errors, and the sanitizers in the
# "Sanitize" build type (ASan + UBSan, stopping at the first finding).
set(CMAKE_CXX_FLAGS_SANITIZE "-O1 -g -fno-omit-frame-pointer" CACHE STRING "" FORCE)
set(QUORVIN_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined)

function(quorvin_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/platform)
  if(CMAKE_BUILD_TYPE STREQUAL "Sanitize")
    target_compile_options(${target} PRIVATE ${QUORVIN_SANITIZE_FLAGS})
    target_link_options(${target} PRIVATE ${QUORVIN_SANITIZE_FLAGS})
  endif()
endfunction()

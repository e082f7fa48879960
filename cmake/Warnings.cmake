# Warnings for our own targets only; third-party headers come in as system includes.
function(quarnet_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    # GCC 12 at -O3 (the app preset) warns of overlapping copies inside
    # std::string's own insert and replace, which never overlap (its bug
    # 105329); later versions don't.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()

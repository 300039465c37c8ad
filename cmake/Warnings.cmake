# Warnings for our own targets: nomvarix_warnings(<target>). (MSVC also needs /utf-8: the sources
# hold UTF-8 string literals.)
function(nomvarix_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  endif()
endfunction()

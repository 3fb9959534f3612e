# partition_warnings(<target> [STRICT]): the warnings every target of the
# project is built with; STRICT adds the conversion checks the core keeps to.
function(partition_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if("STRICT" IN_LIST ARGN)
      target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion)
    endif()
  endif()
endfunction()

# Project code builds clean under -Wall -Wextra; Qt's headers come in as system headers
# (imported targets), so their warnings do not count against us.
function(tintaro_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  if(TINTARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

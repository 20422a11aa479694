# Warnings are errors in every build, for the project's own targets.
function(embrix_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra -Werror -Wshadow>)
endfunction()

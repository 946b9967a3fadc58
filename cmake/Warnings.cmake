# Warnings are errors in the project's own code; third-party headers come in
# as SYSTEM includes and stay quiet.
function(tamzel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

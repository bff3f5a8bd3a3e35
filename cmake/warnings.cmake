# The project's warnings, set on each of its own targets as PRIVATE: they judge the
# target's own sources and do not travel to what links it. RAVLET_WERROR makes them
# errors (CI turns it on for every build).
function(ravlet_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<BOOL:${RAVLET_WERROR}>:-Werror>)
endfunction()

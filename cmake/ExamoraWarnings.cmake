# The warnings every unit of ours is compiled with; CI turns them into errors.
option(EXAMORA_WERROR "Treat compiler warnings as errors" OFF)

add_library(examora_warnings INTERFACE)
target_compile_options(examora_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Woverloaded-virtual -Wnon-virtual-dtor
    $<$<BOOL:${EXAMORA_WERROR}>:-Werror>)

# Called last, once every target exists.
function(examora_apply_warnings)
    examora_project_targets(${CMAKE_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        target_link_libraries(${target} PRIVATE examora_warnings)
    endforeach()
endfunction()

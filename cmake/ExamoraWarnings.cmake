# The warnings every unit of ours is compiled with; CI turns them into errors.
# The precompiled headers are made with the same flags and macros.
option(EXAMORA_WERROR "Treat compiler warnings as errors" OFF)

add_library(examora_warnings INTERFACE)
target_compile_options(examora_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Woverloaded-virtual -Wnon-virtual-dtor
    $<$<BOOL:${EXAMORA_WERROR}>:-Werror>)
# Conversions Qt can refuse at compile time, which the code already avoids.
# (QT_NO_CAST_FROM_ASCII is not among them: the tests pass many char literals.)
target_compile_definitions(examora_warnings INTERFACE
    QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

# Called last, once every target exists.
function(examora_apply_warnings)
    examora_project_targets(${CMAKE_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        target_link_libraries(${target} PRIVATE examora_warnings)
    endforeach()
endfunction()

# Every library and program the project defines below dir, so that settings
# that must reach all of them (warnings, precompiled headers) are applied in
# one place once the targets exist, and a new folder cannot be forgotten.
function(examora_project_targets dir result)
    set(found)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$")
            list(APPEND found ${target})
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        examora_project_targets(${subdir} nested)
        list(APPEND found ${nested})
    endforeach()
    set(${result} ${found} PARENT_SCOPE)
endfunction()

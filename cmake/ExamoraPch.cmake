# Qt's headers take most of the compile time of every unit: parse them once
# into one precompiled header that every library, program and test reuses.
option(EXAMORA_PCH "Reuse one precompiled header of the Qt modules in every target" ON)

function(examora_reuse_pch_in dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT target STREQUAL examora_pch AND type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
            target_precompile_headers(${target} REUSE_FROM examora_pch)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        examora_reuse_pch_in(${subdir})
    endforeach()
endfunction()

# Called last, once every target exists. The fuzz build uses clang with its
# own instrumentation flags and compiles few units: it goes without.
function(examora_apply_pch)
    if(NOT EXAMORA_PCH OR EXAMORA_FUZZ)
        return()
    endif()
    add_library(examora_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/ExamoraPch.cpp)
    # Only the modules' include paths: GCC refuses a precompiled header made
    # with a module macro (QT_WIDGETS_LIB ...) that the using unit lacks.
    foreach(module Core Gui Widgets Sql PrintSupport Network)
        target_include_directories(examora_pch PRIVATE $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    endforeach()
    target_compile_definitions(examora_pch PRIVATE $<$<NOT:$<CONFIG:Debug>>:QT_NO_DEBUG>)
    set_target_properties(examora_pch PROPERTIES POSITION_INDEPENDENT_CODE ON)
    # Not the QtSql umbrella: its relational delegate tests QT_WIDGETS_LIB.
    target_precompile_headers(examora_pch PRIVATE
        <QtCore/QtCore> <QtGui/QtGui> <QtWidgets/QtWidgets>
        <QtSql/QSqlDatabase> <QtSql/QSqlQuery> <QtSql/QSqlRecord> <QtSql/QSqlField> <QtSql/QSqlError>)
    examora_reuse_pch_in(${CMAKE_SOURCE_DIR})
endfunction()

# Qt's headers take most of the compile time of every unit: parse them once
# into a precompiled header that every library, program and test reuses.
# Units without widgets get one without the widget headers: the sanitizers'
# type checks would otherwise ask for QtWidgets symbols they never link.
option(EXAMORA_PCH "Reuse precompiled headers of the Qt modules in every target" ON)

# Whether a target links Qt6::Widgets, directly or through our own libraries.
function(examora_links_widgets target result)
    get_target_property(direct ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    set(found FALSE)
    foreach(library IN LISTS direct interface)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
        if(library STREQUAL "Qt6::Widgets" OR library STREQUAL "Qt::Widgets")
            set(found TRUE)
        elseif(TARGET ${library} AND library MATCHES "^examora")
            examora_links_widgets(${library} nested)
            if(nested)
                set(found TRUE)
            endif()
        endif()
    endforeach()
    set(${result} ${found} PARENT_SCOPE)
endfunction()

function(examora_reuse_pch targets)
    foreach(target IN LISTS targets)
        examora_links_widgets(${target} widgets)
        if(widgets)
            target_precompile_headers(${target} REUSE_FROM examora_pch_widgets)
        else()
            target_precompile_headers(${target} REUSE_FROM examora_pch_core)
        endif()
    endforeach()
endfunction()

function(examora_add_pch name)
    cmake_parse_arguments(P "" "" "MODULES;HEADERS" ${ARGN})
    add_library(${name} STATIC ${CMAKE_SOURCE_DIR}/cmake/ExamoraPch.cpp)
    # Only the modules' include paths: GCC refuses a precompiled header made
    # with a module macro (QT_WIDGETS_LIB ...) that the using unit lacks.
    foreach(module IN LISTS P_MODULES)
        target_include_directories(${name} SYSTEM PRIVATE $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
    endforeach()
    # The same warning flags as the units: -Wpedantic changes a feature
    # macro, and GCC refuses a header precompiled without it.
    target_link_libraries(${name} PRIVATE examora_warnings)
    target_compile_definitions(${name} PRIVATE $<$<NOT:$<CONFIG:Debug>>:QT_NO_DEBUG>)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()

# Called last, once every target exists. The fuzz build uses clang with its
# own instrumentation flags and compiles few units: it goes without.
function(examora_apply_pch)
    if(NOT EXAMORA_PCH OR EXAMORA_FUZZ)
        return()
    endif()
    # Not the QtSql umbrella: its relational delegate tests QT_WIDGETS_LIB.
    set(sql <QtSql/QSqlDatabase> <QtSql/QSqlQuery> <QtSql/QSqlRecord> <QtSql/QSqlField> <QtSql/QSqlError>)
    # Collected before the precompiled headers' own targets exist.
    examora_project_targets(${CMAKE_SOURCE_DIR} targets)
    examora_add_pch(examora_pch_core MODULES Core Gui Sql Network HEADERS <QtCore/QtCore> ${sql})
    examora_add_pch(examora_pch_widgets MODULES Core Gui Widgets Sql PrintSupport Network
                    HEADERS <QtCore/QtCore> <QtGui/QtGui> <QtWidgets/QtWidgets> ${sql})
    examora_reuse_pch("${targets}")
endfunction()

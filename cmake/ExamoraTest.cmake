# One test executable per unit, run headless under the offscreen platform.
#   examora_add_test(NAME tst_UComm SOURCES tst_UComm.cpp LIBS examora_core)
# BOTH_ENGINES runs it a second time as NAME_postgres, its banks on a
# PostgreSQL server of its own (tests/common/TestSupport.h).
function(examora_add_test)
    cmake_parse_arguments(T "BOTH_ENGINES" "NAME" "SOURCES;LIBS" ${ARGN})
    qt_add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
    target_compile_definitions(${T_NAME} PRIVATE
        EXAMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        EXAMORA_SCHEMA_FILE="${EXAMORA_SCHEMA_FILE}"
        EXAMORA_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/../shared/testdata")
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        TIMEOUT 300)
    if(T_BOTH_ENGINES)
        add_test(NAME ${T_NAME}_postgres COMMAND ${T_NAME})
        set_tests_properties(${T_NAME}_postgres PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;EXAMORA_TEST_ENGINE=postgres"
            TIMEOUT 300)
    endif()
endfunction()

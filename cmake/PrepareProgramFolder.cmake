# Puts TestMn.frf and Data/Jsy_Data.mdb into the program folder when they
# are missing; an existing bank (with its papers) is never overwritten.
if(NOT EXISTS "${PROGRAM_DIR}/TestMn.frf" AND EXISTS "${TEMPLATE_FILE}")
    file(COPY "${TEMPLATE_FILE}" DESTINATION "${PROGRAM_DIR}")
endif()
if(NOT EXISTS "${PROGRAM_DIR}/Data/Jsy_Data.mdb")
    file(MAKE_DIRECTORY "${PROGRAM_DIR}/Data")
    execute_process(COMMAND "${BANK_TOOL}" create "${PROGRAM_DIR}/Data/Jsy_Data.mdb"
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "examora-bank create failed (${result})")
    endif()
endif()

# Keeps TestMn.frf in the program folder the same as the shipped one, and
# puts Data/Jsy_Data.mdb there when it is missing; an existing bank (with
# its papers) is never overwritten.
if(EXISTS "${TEMPLATE_FILE}")
    file(COPY_FILE "${TEMPLATE_FILE}" "${PROGRAM_DIR}/TestMn.frf" ONLY_IF_DIFFERENT)
endif()
if(NOT EXISTS "${PROGRAM_DIR}/Data/Jsy_Data.mdb")
    file(MAKE_DIRECTORY "${PROGRAM_DIR}/Data")
    execute_process(COMMAND "${BANK_TOOL}" create "${PROGRAM_DIR}/Data/Jsy_Data.mdb"
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "examora-bank create failed (${result})")
    endif()
endif()

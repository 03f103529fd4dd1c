# Run by CPack on the staged files, after its own strip: the programs lose the
# .comment and .note sections as Debian's own packages do (dh_strip).
file(GLOB _programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
if(_programs)
    execute_process(COMMAND ${CPACK_VANTIK_STRIP} --remove-section=.comment --remove-section=.note ${_programs}
        RESULT_VARIABLE _failed)
    if(_failed)
        message(FATAL_ERROR "strip could not remove the notes of ${_programs}")
    endif()
endif()

# The help file goes beside the executable, and again whenever it changes.
set(TALLIVOX_HELP_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/tallivoxhelpfile.rtf)
set(TALLIVOX_HELP_OUTPUT ${CMAKE_BINARY_DIR}/tallivoxhelpfile.rtf)
add_custom_command(OUTPUT ${TALLIVOX_HELP_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E copy ${TALLIVOX_HELP_SOURCE} ${TALLIVOX_HELP_OUTPUT}
    DEPENDS ${TALLIVOX_HELP_SOURCE}
    COMMENT "Copying the help file beside the program")
add_custom_target(tallivox_helpfile DEPENDS ${TALLIVOX_HELP_OUTPUT})
add_dependencies(tallivox tallivox_helpfile)

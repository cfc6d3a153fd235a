# The buzzer and the shot clock horn are synthesised at build time by a small
# host tool of our own and written beside the executable.
add_executable(tallivox_soundsynth
    ${CMAKE_CURRENT_LIST_DIR}/soundsynth/synth.h
    ${CMAKE_CURRENT_LIST_DIR}/soundsynth/synth.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soundsynth/main.cpp
)
# The tool is part of the build, not of what ships.
set_target_properties(tallivox_soundsynth PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

set(TALLIVOX_SOUND_FILES)
foreach(sound IN ITEMS buzzer horn)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/${sound}.wav
        COMMAND tallivox_soundsynth ${sound} ${CMAKE_BINARY_DIR}/${sound}.wav
        DEPENDS tallivox_soundsynth
        COMMENT "Synthesising ${sound}.wav"
        VERBATIM)
    list(APPEND TALLIVOX_SOUND_FILES ${CMAKE_BINARY_DIR}/${sound}.wav)
endforeach()
add_custom_target(tallivox_sounds ALL DEPENDS ${TALLIVOX_SOUND_FILES})
add_dependencies(tallivox tallivox_sounds)

tallivox_add_qtest(tst_frmsplash SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frmsplash.cpp LIBS tallivox_startup)

# The synthesised sounds, read where the build writes them beside the program.
tallivox_add_qtest(tst_sounds SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_sounds.cpp LIBS tallivox_components)
target_compile_definitions(tst_sounds PRIVATE TALLIVOX_PROGRAM_FOLDER="${CMAKE_BINARY_DIR}")
add_dependencies(tst_sounds tallivox_sounds)

# The rich text reader, and the help window, which reads the shipped help file
# from the source tree.
set(TALLIVOX_HELP_FILE_IN_SOURCE "${CMAKE_SOURCE_DIR}/resources/tallivoxhelpfile.rtf")
tallivox_add_qtest(tst_rtfreader SOURCES tst_rtfreader.cpp LIBS tallivox_rtf)
tallivox_add_qtest(tst_frmhelp SOURCES tst_frmhelp.cpp LIBS tallivox_help tallivox_startup)
target_compile_definitions(tst_frmhelp PRIVATE TALLIVOX_HELP_FILE="${TALLIVOX_HELP_FILE_IN_SOURCE}")

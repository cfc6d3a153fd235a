# The help window and its rich text reader. The reader needs only Qt GUI (for
# QTextDocument), so the fuzz target can link it without any window.
add_library(tallivox_rtf STATIC
    ${CMAKE_SOURCE_DIR}/app/help/rtfreader.h ${CMAKE_SOURCE_DIR}/app/help/rtfreader.cpp
    ${CMAKE_SOURCE_DIR}/app/help/rtfkeywords.h ${CMAKE_SOURCE_DIR}/app/help/rtfkeywords.cpp
    ${CMAKE_SOURCE_DIR}/app/help/rtfparser.h ${CMAKE_SOURCE_DIR}/app/help/rtfparser.cpp
    ${CMAKE_SOURCE_DIR}/app/help/rtfparser_words.cpp
)
target_include_directories(tallivox_rtf PUBLIC ${CMAKE_SOURCE_DIR}/app/help)
target_link_libraries(tallivox_rtf PUBLIC Qt6::Gui)

add_library(tallivox_help STATIC
    ${CMAKE_SOURCE_DIR}/app/help/helpgeometry.h ${CMAKE_SOURCE_DIR}/app/help/helpgeometry.cpp
    ${CMAKE_SOURCE_DIR}/app/help/frmhelp.h ${CMAKE_SOURCE_DIR}/app/help/frmhelp.cpp
    ${CMAKE_SOURCE_DIR}/app/help/helpload.h ${CMAKE_SOURCE_DIR}/app/help/helpload.cpp
)
target_include_directories(tallivox_help PUBLIC ${CMAKE_SOURCE_DIR}/app/help)
target_link_libraries(tallivox_help PUBLIC tallivox_rtf tallivox_config tallivox_components Qt6::Widgets)

target_link_libraries(tallivox_startup PUBLIC tallivox_help)

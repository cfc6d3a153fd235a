# The splash window and the logo it shows. The logo is a library of its own, so
# that the tool drawing the desktop icons links it without any window.
add_library(tallivox_logo STATIC
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashlogo.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashlogo.cpp
)
target_include_directories(tallivox_logo PUBLIC ${CMAKE_CURRENT_LIST_DIR}/splash)
target_link_libraries(tallivox_logo PUBLIC tallivox_components Qt6::Gui)

target_sources(tallivox_startup PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/splash/frmsplash.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/frmsplash.cpp
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashload.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashload.cpp
)
target_include_directories(tallivox_startup PUBLIC ${CMAKE_CURRENT_LIST_DIR}/splash)
target_link_libraries(tallivox_startup PUBLIC tallivox_logo)

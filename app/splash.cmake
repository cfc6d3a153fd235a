# The splash window and the logo it shows.
target_sources(tallivox_startup PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/splash/frmsplash.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/frmsplash.cpp
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashload.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashlogo.h
    ${CMAKE_CURRENT_LIST_DIR}/splash/splashlogo.cpp
)
target_include_directories(tallivox_startup PUBLIC ${CMAKE_CURRENT_LIST_DIR}/splash)

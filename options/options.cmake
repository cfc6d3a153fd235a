# The options dialog. Included by app/CMakeLists.txt once the start-up library
# exists, so that the program's window owner can open it.
add_library(tallivox_options STATIC
    ${CMAKE_SOURCE_DIR}/options/keybindings.h ${CMAKE_SOURCE_DIR}/options/keybindings.cpp
    ${CMAKE_SOURCE_DIR}/options/optionslogic.h ${CMAKE_SOURCE_DIR}/options/optionslogic.cpp
    ${CMAKE_SOURCE_DIR}/options/optionswidgets.h ${CMAKE_SOURCE_DIR}/options/optionswidgets.cpp
    ${CMAKE_SOURCE_DIR}/options/optionschoosers.h ${CMAKE_SOURCE_DIR}/options/optionschoosers.cpp
    ${CMAKE_SOURCE_DIR}/options/frmoptions.h ${CMAKE_SOURCE_DIR}/options/frmoptions.cpp
    ${CMAKE_SOURCE_DIR}/options/frmoptions_keys.cpp
    ${CMAKE_SOURCE_DIR}/options/frmoptions_colors.cpp
    ${CMAKE_SOURCE_DIR}/options/frmoptions_other.cpp
    ${CMAKE_SOURCE_DIR}/options/frmoptions_feed.cpp
)
target_include_directories(tallivox_options PUBLIC ${CMAKE_SOURCE_DIR}/options)
target_link_libraries(tallivox_options PUBLIC
    tallivox_appearance tallivox_platform tallivox_config tallivox_components Qt6::Widgets Qt6::Network)
target_link_libraries(tallivox_startup PUBLIC tallivox_options)

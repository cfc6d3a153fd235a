# tallivox-gallery: every LED display in both styles at several sizes, to be looked
# at. `tallivox-gallery out.png` saves the picture instead of opening a window.
add_executable(tallivox-gallery ${CMAKE_CURRENT_LIST_DIR}/gallery.cpp)
target_link_libraries(tallivox-gallery PRIVATE tallivox_components Qt6::Widgets)

# The Win32 picture box: window class, painting and the GIF animation worker.
add_library(tolvane_picture_box STATIC picture_box.cpp gif_player.cpp)
target_link_libraries(tolvane_picture_box PUBLIC tolvane_picture gdi32 user32)

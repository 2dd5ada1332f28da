# The picture box in a real window under Wine: painting read back pixel by pixel, and the GIF
# animation worker's start and stop.
tolvane_add_test(picture_box_test SOURCES box_test.cpp
  LIBS tolvane_picture_box tolvane_picture_fixtures gdi32 user32)
# A hang (a worker that never stops) fails the test instead of blocking the Wine suite.
set_tests_properties(picture_box_test PROPERTIES TIMEOUT 120)

# The box's benchmark runs under Wine (bench/picture_box.sh), so it is built with the Windows
# programs rather than with the native benchmarks; it is not a test.
add_executable(bench_picture_box ${CMAKE_SOURCE_DIR}/bench/picture_box_bench.cpp)
target_link_libraries(bench_picture_box PRIVATE tolvane_picture_box tolvane_picture_fixtures)

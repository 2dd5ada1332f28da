# The skin in real windows under Wine: pixels read back from the controls, the facility's
# switching, registry and message routing, and the system dialogs it covers.
tolvane_add_test(skin_window_test
  SOURCES skin_test_window.cpp skin_facility_test.cpp skin_painting_test.cpp skin_dialogs_test.cpp
  LIBS tolvane_skin comctl32 comdlg32)
# A crash under Wine starts its debugger and waits; never longer than this.
set_tests_properties(skin_window_test PROPERTIES TIMEOUT 300)

# The painting benchmark runs under Wine (bench/skin_paint.sh), so it is built with the
# Windows programs rather than with the native benchmarks.
add_executable(skin_paint_bench ${CMAKE_SOURCE_DIR}/bench/skin_paint_bench.cpp)
target_link_libraries(skin_paint_bench PRIVATE tolvane_skin)

# Drives a running Tolvane to take the README's pictures (tests/skin/make_screenshots.sh).
add_executable(skin_screenshots screenshots.cpp)

# Lookup: TextBetween against a plain memmem search of the same page.
if(benchmark_FOUND)
  add_executable(bench_lookup_text_between ${CMAKE_CURRENT_LIST_DIR}/lookup_text_between.cpp)
  target_link_libraries(bench_lookup_text_between PRIVATE tolvane_lookup benchmark::benchmark)
endif()

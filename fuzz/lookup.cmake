# Lookup's fuzz targets: marker search and address/Content-Length handling. The lookup sources
# are compiled into each target (not linked from the library) so that libFuzzer's coverage
# instrumentation sees them.
set(lookup_dir ${CMAKE_SOURCE_DIR}/lookup)
tolvane_add_fuzzer(fuzz_text_between
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/lookup_text_between.cpp ${lookup_dir}/text_operations.cpp
  LIBS tolvane_base)
tolvane_add_fuzzer(fuzz_url_prepare
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/lookup_url_prepare.cpp ${lookup_dir}/fetch_address.cpp
  LIBS tolvane_base)

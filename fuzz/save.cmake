# Save As's filter, path and buffer handling and the fatal-error texts on arbitrary bytes.
tolvane_add_fuzzer(fuzz_save_texts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_texts_fuzzer.cpp
  LIBS tolvane_app_model tolvane_save tolvane_base)

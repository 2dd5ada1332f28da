# Save As's filter, path and buffer handling and the fatal-error texts on arbitrary bytes. The
# sources are compiled into the target so that coverage sees them.
tolvane_add_fuzzer(fuzz_save_texts
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_texts_fuzzer.cpp ${CMAKE_SOURCE_DIR}/save/save_dialog.cpp
          ${CMAKE_SOURCE_DIR}/app/fatal_message.cpp
  LIBS tolvane_base)

# The skin's caption layout (line breaking over GBK bytes and "&" prefixes) on arbitrary
# captions, rectangles and alignment bits.
if(NOT TARGET tolvane_skin_model)
  add_subdirectory(${CMAKE_SOURCE_DIR}/app/skin ${CMAKE_BINARY_DIR}/app/skin)
endif()
tolvane_add_fuzzer(fuzz_caption_layout SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_caption_layout.cpp
                   LIBS tolvane_skin_model)

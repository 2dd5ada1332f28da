# Picture decoding next to other decoders on the same files: stb_image and giflib (GIF, BMP),
# bare libjpeg and libpng (JPEG, PNG).
find_library(TOLVANE_STB_LIBRARY stb)
find_path(TOLVANE_STB_INCLUDE stb_image.h PATH_SUFFIXES stb)
find_library(TOLVANE_GIF_LIBRARY gif)
find_path(TOLVANE_GIF_INCLUDE gif_lib.h)
if(benchmark_FOUND AND TOLVANE_STB_LIBRARY AND TOLVANE_STB_INCLUDE AND TOLVANE_GIF_LIBRARY AND TOLVANE_GIF_INCLUDE)
  if(NOT TARGET tolvane_picture_fixtures)
    add_library(tolvane_picture_fixtures STATIC ${CMAKE_CURRENT_SOURCE_DIR}/../tests/picture/fixtures.cpp)
    target_link_libraries(tolvane_picture_fixtures PUBLIC JPEG::JPEG PNG::PNG)
  endif()
  add_executable(bench_picture_decode ${CMAKE_CURRENT_SOURCE_DIR}/picture_decode_bench.cpp)
  target_include_directories(bench_picture_decode PRIVATE ${TOLVANE_STB_INCLUDE} ${TOLVANE_GIF_INCLUDE})
  target_link_libraries(bench_picture_decode PRIVATE tolvane_picture tolvane_picture_fixtures
    ${TOLVANE_STB_LIBRARY} ${TOLVANE_GIF_LIBRARY} benchmark::benchmark)
endif()

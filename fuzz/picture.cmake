# Picture decoders: every format through DecodePicture, and the GIF compositor stepping
# through a whole animation.
tolvane_add_fuzzer(fuzz_picture_decode SOURCES picture_decode_fuzzer.cpp LIBS tolvane_picture)
tolvane_add_fuzzer(fuzz_gif_compositor SOURCES gif_compositor_fuzzer.cpp LIBS tolvane_picture)
# Coverage feedback needs the decoders themselves instrumented, not only the entry points.
target_compile_options(tolvane_picture PRIVATE -fsanitize=fuzzer-no-link)

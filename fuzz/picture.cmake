# Picture decoders: every format through DecodePicture, and the GIF compositor stepping
# through a whole animation.
tolvane_add_fuzzer(fuzz_picture_decode SOURCES picture_decode_fuzzer.cpp LIBS tolvane_picture)
tolvane_add_fuzzer(fuzz_gif_compositor SOURCES gif_compositor_fuzzer.cpp LIBS tolvane_picture)

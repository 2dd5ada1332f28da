# Lookup's fuzz targets: marker search and address/Content-Length handling.
tolvane_add_fuzzer(fuzz_text_between SOURCES lookup_text_between.cpp LIBS tolvane_lookup)
tolvane_add_fuzzer(fuzz_url_prepare SOURCES lookup_url_prepare.cpp LIBS tolvane_lookup)

# The window, start-up and the fatal stops in real Win32 processes (under Wine).
tolvane_add_test(main_window_test SOURCES main_window_test.cpp LIBS tolvane_app)

# A small program that runs the start-up and stop paths on request; program_test drives it.
add_executable(program_probe WIN32 program_probe.cpp)
target_link_libraries(program_probe PRIVATE tolvane_app)
tolvane_add_test(program_test SOURCES program_test.cpp LIBS tolvane_app)
add_dependencies(program_test program_probe)

# The window tests look at the program icon, so they carry the program's resources.
set_source_files_properties(${CMAKE_BINARY_DIR}/app/tolvane.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/app/tolvane.ico)
target_sources(main_window_test PRIVATE ${CMAKE_BINARY_DIR}/app/tolvane.rc)

# The whole program end to end (tools/e2e.sh: stand-in forum server + tools/e2e_driver.cpp).
add_executable(e2e_driver ${CMAKE_SOURCE_DIR}/tools/e2e_driver.cpp)
target_link_libraries(e2e_driver PRIVATE tolvane_picture_fixtures user32 gdi32)
add_test(NAME e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tools/e2e.sh
  $<TARGET_FILE:e2e_driver> $<TARGET_FILE:tolvane>)
set_tests_properties(e2e PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

# Programs of the app benchmarks (bench/app_bench.sh runs them from this build).
add_executable(app_bench ${CMAKE_SOURCE_DIR}/bench/app_bench.cpp)
target_link_libraries(app_bench PRIVATE tolvane_picture_fixtures user32 gdi32 psapi)
add_executable(startup_minimal_window WIN32 ${CMAKE_SOURCE_DIR}/bench/startup_minimal_window.cpp)

# The program file needs no DLL beside it (a MinGW runtime or zlib1.dll would be missing on a
# clean Windows).
add_test(NAME tolvane_imports
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:tolvane>)

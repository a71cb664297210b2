# Start-up time of the real program to its first painted window, and its
# resident memory once idle.
add_executable(bench_cold_start ${CMAKE_CURRENT_LIST_DIR}/cold_start.cpp)
target_link_libraries(bench_cold_start PRIVATE zelt::sim)
target_compile_definitions(bench_cold_start PRIVATE ZELT_ESC_PATH="$<TARGET_FILE:zelt-esc>")
add_dependencies(bench_cold_start zelt-esc)
zelt_defaults(bench_cold_start)

# Resident memory growth over a long speed test in the main window.
add_executable(bench_speed_soak ${CMAKE_CURRENT_LIST_DIR}/speed_soak.cpp)
target_link_libraries(bench_speed_soak PRIVATE zelt::app zelt::sim zelt::testing)
zelt_defaults(bench_speed_soak)

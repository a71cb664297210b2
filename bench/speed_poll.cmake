# Speed samples per second against the paced simulator, through the main window.
add_executable(bench_speed_poll ${CMAKE_CURRENT_LIST_DIR}/speed_poll.cpp)
target_link_libraries(bench_speed_poll PRIVATE zelt::app zelt::sim zelt::testing)
zelt_defaults(bench_speed_poll)

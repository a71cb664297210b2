# Paced simulator against the 19200-baud line time over a firmware read-back.
add_executable(bench_sim_pace ${CMAKE_CURRENT_LIST_DIR}/sim_pace.cpp)
target_link_libraries(bench_sim_pace PRIVATE zelt::sim)
zelt_defaults(bench_sim_pace)

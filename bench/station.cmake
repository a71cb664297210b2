# The production station on 1, 4 and 8 paced simulated cards: a round's time
# against one card alone, and the station's CPU time per unit.
add_executable(bench_station ${CMAKE_CURRENT_LIST_DIR}/station.cpp)
target_link_libraries(bench_station PRIVATE zelt::sim zelt::params Qt6::Core)
add_dependencies(bench_station zelt-cli)
target_compile_definitions(bench_station PRIVATE ZELT_CLI_EXE="$<TARGET_FILE:zelt-cli>")
zelt_defaults(bench_station)

# CPU time of the main thread during a reply wait that runs out, clicked in
# the main window.
add_executable(bench_reply_wait ${CMAKE_CURRENT_LIST_DIR}/reply_wait.cpp)
target_link_libraries(bench_reply_wait PRIVATE zelt::app zelt::sim zelt::testing)
zelt_defaults(bench_reply_wait)

# Wall time of a full firmware update clicked in the main window against the
# paced simulator, relative to the line time and the ESC's think time.
add_executable(bench_firmware_update ${CMAKE_CURRENT_LIST_DIR}/firmware_update.cpp)
target_link_libraries(bench_firmware_update PRIVATE zelt::app zelt::sim zelt::testing)
zelt_defaults(bench_firmware_update)

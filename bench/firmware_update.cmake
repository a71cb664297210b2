# Wall time of a full firmware update against the paced simulator, relative to
# the time the moved bytes need on the line.
add_executable(bench_firmware_update ${CMAKE_CURRENT_LIST_DIR}/firmware_update.cpp)
target_link_libraries(bench_firmware_update PRIVATE zelt_firmware zelt_sim)
zelt_defaults(bench_firmware_update)

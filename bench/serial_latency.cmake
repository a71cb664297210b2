# Round-trip latency of the serial component over a pseudo-terminal, measured
# against QSerialPort on the same terminal, and the CPU its threads use idle.
if(TARGET Qt6::SerialPort)
  add_executable(bench_serial_latency ${CMAKE_CURRENT_LIST_DIR}/serial_latency.cpp)
  target_link_libraries(bench_serial_latency PRIVATE zelt::serial zelt::link Qt6::SerialPort)
  zelt_defaults(bench_serial_latency)
endif()

# Common settings for every target of the project.
include(GoogleTest)

function(zelt_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# A GoogleTest executable registered with CTest. A test binary gets a
# QApplication (tests/support/qt_test_main.cpp) on the offscreen platform, so
# widget tests need no display; with CORE it gets a QCoreApplication instead,
# as a console program would. LABELS lets ctest pick suites (-L serial).
function(zelt_test name)
  cmake_parse_arguments(ARG "CORE" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  zelt_defaults(${name})
  if(ARG_CORE)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelt_core_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelt_test_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 180 LABELS "${ARG_LABELS}")
endfunction()

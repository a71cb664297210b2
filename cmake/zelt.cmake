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
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelt::core_test_main)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelt::test_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 180 LABELS "${ARG_LABELS}")
endfunction()

# A library module: zelt_module(<name> SOURCES ... [DEPENDS ...] [PRIVATE_DEPENDS ...] [DIR folder])
# makes the static library zelt_<name> with the alias zelt::<name>. DEPENDS are
# the targets its headers need, PRIVATE_DEPENDS those only its sources need.
# Its include folder holds nothing but <name> -> its source folder (DIR, by
# default the current one), so a consumer writes "<name>/file.h" and sees only
# the modules it links. A module of headers only is an INTERFACE library.
function(zelt_module name)
  cmake_parse_arguments(ARG "" "DIR" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(include_dir ${PROJECT_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${ARG_DIR} ${include_dir}/${name} SYMBOLIC)

  set(target zelt_${name})
  set(compiled ${ARG_SOURCES})
  list(FILTER compiled INCLUDE REGEX "\\.(cpp|ui|qrc)$")
  if(compiled)
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${include_dir})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
    zelt_defaults(${target})
  else()
    add_library(${target} INTERFACE ${ARG_SOURCES})
    target_include_directories(${target} INTERFACE ${include_dir})
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS} ${ARG_PRIVATE_DEPENDS})
  endif()
  add_library(zelt::${name} ALIAS ${target})
endfunction()

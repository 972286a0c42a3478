# Adding a test is one line: lumo_add_test(name SOURCES a_test.cpp ... [LIBS x y]).
# On the Windows builds the tests run under Wine (the cross-compiling emulator:
# wine64 for win64, the 32-bit loader for win32), in a Wine prefix of the
# build's own that the setup fixture `wine_prefix` prepares before the first of
# them starts; a test added with add_test() itself joins it with
# lumo_test_environment(name).

if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(LUMO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The Wine prefix the tests run in")
  # No Mono or Gecko: creating the prefix must not stop to offer them.
  set(LUMO_TEST_ENVIRONMENT WINEDEBUG=-all WINEPREFIX=${LUMO_WINEPREFIX} WINEDLLOVERRIDES=mscoree,mshtml=)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # A 32-bit prefix of its own: 32-bit Wine cannot use a 64-bit one.
    list(APPEND LUMO_TEST_ENVIRONMENT WINEARCH=win32)
  endif()
else()
  set(LUMO_TEST_ENVIRONMENT)
endif()

if(LUMO_TESTS)
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main gmock gmock_main)
      lumo_sanitize(${t})
    endforeach()
  endif()
  include(GoogleTest)
endif()

# A program that exports functions by name for the plug-in to bind (the host's
# BKA_ functions). 32-bit Windows decorates a WINAPI name ("_BKA_Free@4");
# the plug-in asks for the plain name, so the export table takes the names
# undecorated.
function(lumo_program_exports target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  endif()
endfunction()

# The fixture's setup test; called once where testing is enabled.
function(lumo_add_test_fixtures)
  if(LUMO_WINEPREFIX)
    add_test(NAME wine_prefix COMMAND ${CMAKE_COMMAND} -DWINE=${CMAKE_CROSSCOMPILING_EMULATOR} -P
                                      ${PROJECT_SOURCE_DIR}/cmake/WinePrefix.cmake)
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix ENVIRONMENT "${LUMO_TEST_ENVIRONMENT}")
  endif()
endfunction()

# The environment every test runs in; under Wine, after the prefix is ready.
function(lumo_test_environment name)
  if(LUMO_WINEPREFIX)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${LUMO_TEST_ENVIRONMENT})
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine_prefix)
  endif()
endfunction()

function(lumo_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} lumo_core GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  lumo_tool_flags(${name})
  # Tests bind the host functions from their own executable, as the host does.
  lumo_program_exports(${name})
  add_test(NAME ${name} COMMAND ${name})
  lumo_test_environment(${name})
endfunction()

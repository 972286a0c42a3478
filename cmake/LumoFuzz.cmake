# lumo_add_fuzzer(name SOURCES target.cpp CORPUS dir): each fuzz target defines
# LLVMFuzzerTestOneInput. With LUMO_FUZZ (clang) it builds as a libFuzzer
# program; in every test build it also builds as a plain program that replays
# its seed corpus under CTest, so past findings rerun with the suite.
function(lumo_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES" ${ARGN})
  get_filename_component(F_CORPUS "${F_CORPUS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(LUMO_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE lumo_core)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    set_property(GLOBAL APPEND PROPERTY LUMO_FUZZERS "$<TARGET_FILE:${name}> ${F_CORPUS}")
  elseif(LUMO_TESTS)
    add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE lumo_core)
    lumo_tool_flags(${name}_replay)
    add_test(NAME ${name}_replay COMMAND ${name}_replay ${F_CORPUS})
    lumo_test_environment(${name}_replay)
  endif()
endfunction()

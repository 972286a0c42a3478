# Compiler and linker settings shared by every target.

# The plug-in takes the strict set; tests and tools the common one. Both are errors.
set(LUMO_COMMON_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Werror)
set(LUMO_WARNINGS ${LUMO_COMMON_WARNINGS} -Wconversion -Wsign-conversion -Wold-style-cast -Wcast-align
    -Wnull-dereference)
# GCC 12 reports false "maybe uninitialized" and "restrict" findings inside
# std::string when optimising the tests' tables of strings.
set(LUMO_TOOL_WARNINGS ${LUMO_COMMON_WARNINGS} $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized> $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)

if(WIN32)
  set(LUMO_PLATFORM_LIBS user32 kernel32)
  # No compiler runtime DLL beside lumo.dll or lumo-host.exe: link it in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # The same commit builds the same bytes: no link time in the PE header, no
  # build folder in any text the compiler keeps.
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  add_link_options(-Wl,--no-insert-timestamp)
else()
  set(LUMO_PLATFORM_LIBS ${CMAKE_DL_LIBS})
endif()

function(lumo_sanitize target)
  if(LUMO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# The plug-in itself: warnings are errors, no exceptions, no RTTI needed.
function(lumo_plugin_flags target)
  target_compile_options(${target} PRIVATE ${LUMO_WARNINGS} -fno-exceptions -fvisibility=hidden)
  lumo_sanitize(${target})
endfunction()

# Flags for host, tests, benchmarks: warnings are errors too.
function(lumo_tool_flags target)
  target_compile_options(${target} PRIVATE ${LUMO_TOOL_WARNINGS})
  lumo_sanitize(${target})
endfunction()

function(lumo_module_link target)
  if(WIN32)
    # The export list and the resources (dialog templates) of lumo.dll.
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/res/lumo.def ${PROJECT_SOURCE_DIR}/res/lumo.rc)
    target_link_options(${target} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup $<$<CONFIG:Release>:-s>)
  else()
    # The same export list, plus the load notification, is all lumo.so shows;
    # its user-interface calls are answered by the program that loads it.
    file(STRINGS ${PROJECT_SOURCE_DIR}/res/lumo.def lines)
    set(names "DllMain;")
    set(in_exports OFF)
    foreach(line IN LISTS lines)
      string(STRIP "${line}" line)
      if(line STREQUAL "EXPORTS")
        set(in_exports ON)
      elseif(in_exports AND line AND NOT line MATCHES "^;")
        string(APPEND names "${line};")
      endif()
    endforeach()
    set(map ${CMAKE_BINARY_DIR}/lumo.map)
    file(WRITE ${map} "{\n  global:\n    ${names}\n  local: *;\n};\n")
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/res/lumo.def)
  endif()
endfunction()

# Fuzzing builds instrument all code for coverage and run it under sanitizers.
if(LUMO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Prepares the Wine prefix the Windows tests run in (the CTest setup fixture
# `wine_prefix`): the first Wine call creates it, and its windows become
# unmanaged, since xvfb runs no window manager and Wine would wait two seconds
# for one at every managed window shown or hidden. Then it waits for the Wine
# server to finish, so that no test starts while the prefix is still being
# written.
#   cmake -DWINE=/usr/lib/wine/wine64 -P WinePrefix.cmake   (WINEPREFIX, and WINEARCH for
#   the 32-bit /usr/lib/wine/wine, from the environment)
get_filename_component(wine_dir ${WINE} DIRECTORY)
set(wineserver ${wine_dir}/wineserver)
execute_process(COMMAND ${WINE} reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
execute_process(COMMAND ${wineserver} -w)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot prepare the Wine prefix $ENV{WINEPREFIX}: ${result}\n${output}")
endif()
message(STATUS "Wine prefix $ENV{WINEPREFIX} ready, windows unmanaged")

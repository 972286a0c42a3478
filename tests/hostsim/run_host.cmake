# Runs one lumo-host script in a fresh folder holding its own copy of the
# plug-in, so that the plug-in's settings file and link index are the run's own.
#   cmake -DHOST=... -DPLUGIN=... -DSCRIPT=... -DWORK=... [-DEMULATOR=...] [-DSTORE=ON] [-DLOAD=ON] -P run_host.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${PLUGIN} DESTINATION ${WORK})
set(args)
if(STORE)
  list(APPEND args --store store)
endif()
if(LOAD)
  get_filename_component(plugin_name ${PLUGIN} NAME)
  # Named as a user names it in the working folder, without a folder: the
  # host finds it and its settings there.
  list(APPEND args --plugin ${plugin_name})
endif()
execute_process(COMMAND ${EMULATOR} ${HOST} ${args} ${SCRIPT}
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lumo-host ${SCRIPT} failed: ${result}")
endif()

# Helpers for the window programs and the tests that make windows.
set(SORV_FORMS_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")

# The manifest resource: common controls 6, dpi awareness and the rights the program asks
# for at start. LEVEL is asInvoker (the default) or requireAdministrator: programs that
# write HKLM or the program folder, or talk to the driver, ask for administrator rights.
# LONG_PATHS: the program takes paths past 260 characters where the system allows them.
#   sorv_manifest(target [LEVEL level] [LONG_PATHS])
function(sorv_manifest target)
  cmake_parse_arguments(M "LONG_PATHS" "LEVEL" "" ${ARGN})
  if(NOT M_LEVEL)
    set(M_LEVEL asInvoker)
  endif()
  if(NOT M_LEVEL MATCHES "^(asInvoker|requireAdministrator)$")
    message(FATAL_ERROR "sorv_manifest(${target}): unknown LEVEL ${M_LEVEL}")
  endif()
  set(level ${M_LEVEL})
  set(name manifest-${level})
  set(long_paths "")
  if(M_LONG_PATHS)
    string(APPEND name -longpaths)
    set(long_paths "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>")
  endif()
  set(SORV_FORMS_MANIFEST ${CMAKE_BINARY_DIR}/${name}.manifest)
  set(rc ${CMAKE_BINARY_DIR}/${name}.rc)
  configure_file(${SORV_FORMS_DIR}/forms.manifest.in ${SORV_FORMS_MANIFEST} @ONLY)
  configure_file(${SORV_FORMS_DIR}/manifest.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# The manifest and the forms runtime, for programs and tests that make windows.
#   sorv_forms_manifest(target [LEVEL level] [LONG_PATHS])
function(sorv_forms_manifest target)
  sorv_manifest(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE forms)
endfunction()

# A window program: GUI subsystem, wWinMain, the forms runtime and the manifest.
#   sorv_window_program(target [LEVEL level] [LONG_PATHS])
function(sorv_window_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -municode)
  sorv_forms_manifest(${target} ${ARGN})
endfunction()

# Helpers for the window programs and the tests that make windows.
set(SORV_FORMS_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")

# The manifest resource: common controls 6 and dpi awareness.
function(sorv_forms_manifest target)
  set(SORV_FORMS_MANIFEST ${SORV_FORMS_DIR}/forms.manifest)
  set(rc ${CMAKE_BINARY_DIR}/forms-manifest.rc)
  configure_file(${SORV_FORMS_DIR}/manifest.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_link_libraries(${target} PRIVATE forms)
endfunction()

# A window program: GUI subsystem, wWinMain, the forms runtime and the manifest.
function(sorv_window_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -municode)
  sorv_forms_manifest(${target})
endfunction()

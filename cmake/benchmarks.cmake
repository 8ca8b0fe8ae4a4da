# Every benchmark program is built by the default build: a source under a bench/ folder that
# no target of the default build compiles stops the configuration, so a benchmark lost from
# its CMakeLists.txt shows at once instead of rotting unbuilt.

# The absolute paths of the sources that the default build compiles, below `dir`.
function(sorv_built_sources dir out)
  set(found "")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    get_target_property(excluded ${t} EXCLUDE_FROM_ALL)
    if(type STREQUAL "INTERFACE_LIBRARY" OR excluded)
      continue()
    endif()
    get_target_property(sources ${t} SOURCES)
    get_target_property(source_dir ${t} SOURCE_DIR)
    foreach(s IN LISTS sources)
      cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY ${source_dir} NORMALIZE)
      list(APPEND found ${s})
    endforeach()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    sorv_built_sources(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(sorv_check_benchmarks_built)
  file(GLOB benches CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/*/bench/*.cpp
                                      ${PROJECT_SOURCE_DIR}/*/*/bench/*.cpp)
  sorv_built_sources(${PROJECT_SOURCE_DIR} built)
  foreach(b IN LISTS benches)
    if(NOT b IN_LIST built)
      message(FATAL_ERROR "${b} is built by no target of the default build")
    endif()
  endforeach()
endfunction()

# GoogleTest from Debian's source package, built for whichever preset is active.
set(SORV_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${SORV_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Sanitizers in gtest itself only add noise; keep it plain.
foreach(t gtest gtest_main gmock gmock_main)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -w)
  endif()
endforeach()

# sorv_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [RESOURCE_LOCK ...])
# One executable a subsystem, one ctest entry (one Wine start) for it.
function(sorv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;RESOURCE_LOCK;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  # Helpers every harness may use (testsupport/).
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/testsupport)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
endfunction()

# sorv_fuzz(NAME SOURCES ... [LIBS ...]): a libFuzzer target (clang, native preset),
# run by ctest for a bounded time from a fixed seed.
function(sorv_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name} COMMAND ${name} -max_total_time=20 -runs=5000000 -seed=1 ${corpus})
  set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS fuzz)
endfunction()

# sorv_program_folder(TEST DIR [RECORDING_MOUNT] [COPY targets...] [COPY_AS target name])
# An in-process test run from a program folder of its own, DIR, so that the common program
# folder is neither used nor overwritten: the files of the COPY targets are copied beside it
# (COPY_AS under another name), and RECORDING_MOUNT puts there a SorvMount.dll that writes
# down the commands it is given. A copy is made again whenever its target is rebuilt, not
# only when the test relinks: a test must never run an older library than the build made.
function(sorv_program_folder test dir)
  cmake_parse_arguments(F "RECORDING_MOUNT" "" "COPY;COPY_AS" ${ARGN})
  set_target_properties(${test} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  if(F_RECORDING_MOUNT)
    set(recmount ${PROJECT_SOURCE_DIR}/desk/shared/tests/recmount)
    add_library(${test}_mount SHARED ${recmount}/RecordingMount.cpp ${recmount}/RecordingMount.def)
    set_target_properties(${test}_mount PROPERTIES OUTPUT_NAME SorvMount
                          RUNTIME_OUTPUT_DIRECTORY ${dir}
                          ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${test})
    add_dependencies(${test} ${test}_mount)
  endif()
  set(copies)
  foreach(target ${F_COPY})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL EXECUTABLE)
      list(APPEND F_COPY_AS ${target} ${target}${CMAKE_EXECUTABLE_SUFFIX})
    else()
      list(APPEND F_COPY_AS ${target} ${target}${CMAKE_SHARED_LIBRARY_SUFFIX})
    endif()
  endforeach()
  while(F_COPY_AS)
    list(POP_FRONT F_COPY_AS target name)
    add_custom_command(OUTPUT ${dir}/${name}
                       COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${dir}/${name}
                       DEPENDS ${target} VERBATIM)
    list(APPEND copies ${dir}/${name})
  endwhile()
  if(copies)
    add_custom_target(${test}_copies DEPENDS ${copies})
    add_dependencies(${test} ${test}_copies)
  endif()
endfunction()

# Helpers shared by the source, test and benchmark folders.

set(TAVELIN_PCH <windows.h> <ole2.h> <commctrl.h> <string> <vector> <memory>
                <functional> <algorithm> <map>)

# One precompiled header serves every library and benchmark, and one more
# (with GoogleTest) every test suite: a header per target cost gigabytes.
function(tavelin_pch_targets)
  file(WRITE ${CMAKE_BINARY_DIR}/pch_anchor.cpp "// anchor of the shared precompiled header\n")
  add_library(tavelin_pch STATIC ${CMAKE_BINARY_DIR}/pch_anchor.cpp)
  target_precompile_headers(tavelin_pch PRIVATE ${TAVELIN_PCH})
endfunction()

# tavelin_library(name folder [EXCLUDE files...] DEPS libs...)
# Builds every .cpp of the folder into tavelin_<name>; a folder without
# sources yet becomes an interface library so that dependents still link.
function(tavelin_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${folder}/${ex})
  endforeach()
  if(sources)
    add_library(tavelin_${name} STATIC ${sources})
    target_include_directories(tavelin_${name} PUBLIC ${CMAKE_SOURCE_DIR}/${folder})
    target_link_libraries(tavelin_${name} PUBLIC ${ARG_DEPS})
    target_precompile_headers(tavelin_${name} REUSE_FROM tavelin_pch)
  else()
    add_library(tavelin_${name} INTERFACE)
    target_include_directories(tavelin_${name} INTERFACE ${CMAKE_SOURCE_DIR}/${folder})
    target_link_libraries(tavelin_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# tavelin_test_suite(folder DEPS libs...)
# One GoogleTest executable per test folder, run by CTest through Wine.
function(tavelin_test_suite folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  string(REPLACE "/" "_" name ${folder})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(tests_${name} ${sources} ${CMAKE_SOURCE_DIR}/resources/tests.rc)
  target_link_libraries(tests_${name} PRIVATE ${ARG_DEPS} tavelin_testsupport)
  target_precompile_headers(tests_${name} REUSE_FROM tavelin_testsupport)
  add_test(NAME ${name} COMMAND tests_${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900
    ENVIRONMENT "TAVELIN_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

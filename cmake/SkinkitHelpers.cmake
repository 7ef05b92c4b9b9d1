# Adds `parent` itself when it has a CMakeLists.txt, else each of its direct sub-folders
# that has one.
function(skinkit_add_subfolders parent)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${parent}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${parent})
    return()
  endif()
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/${parent}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# skinkit_add_test(NAME src... [LIBS lib...] [ENV var=value])
# One GoogleTest executable, its cases registered with CTest one by one.
function(skinkit_add_test name)
  cmake_parse_arguments(T "" "" "LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE skinkit GTest::gtest GTest::gtest_main GTest::gmock ${T_LIBS})
  target_compile_definitions(${name} PRIVATE SKINKIT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             SKINKIT_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # SKINKIT_SOURCE_DIR is also in the environment. ENV takes one VAR=value: a list does not
  # survive the discovered tests' property expansion.
  set(env "SKINKIT_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  if(T_ENV)
    set(env "${T_ENV}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${env}")
endfunction()

# skinkit_add_bench(NAME src... [LIBS lib...])
function(skinkit_add_bench name)
  cmake_parse_arguments(B "" "" "LIBS" ${ARGN})
  add_executable(${name} ${B_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE skinkit benchmark::benchmark benchmark::benchmark_main ${B_LIBS})
endfunction()

# skinkit_add_fuzzer(NAME src...): a libFuzzer target; its seed corpus is fuzz/corpus/NAME.
function(skinkit_add_fuzzer name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE skinkit ${SKINKIT_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

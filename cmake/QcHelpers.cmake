# Shared build helpers: warnings, sanitizers, libraries per layer, tests per folder.
include(GoogleTest)

function(qc_setup_warnings)
  add_compile_options(-Wall -Wextra -Wpedantic -Wno-unused-parameter)
  if(QC_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(QC_FUZZ)
    # libFuzzer steers by the coverage of the parsers in the libraries, not of the entry point
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

# qc_add_library(NAME [STATIC] SOURCES ... [DEPS ...]): the library of one layer folder.
# Layers are shared libraries: the shell, the module and the suite's plugins then share one
# desktop (message queue, interaction journal, class and server registrations, code page)
# per process, as the suite's windows do. STATIC is for units a single library takes in whole.
function(qc_add_library name)
  cmake_parse_arguments(ARG "STATIC" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
  else()
    add_library(${name} SHARED ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# qc_add_test_dir(NAME LABEL layer DEPS ...): one test program of every *_test.cpp in the
# calling folder (recursively); each test case becomes a CTest test carrying the layer label.
function(qc_add_test_dir name)
  cmake_parse_arguments(ARG "" "LABEL" "DEPS;EXTRA_SOURCES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  add_executable(${name} ${sources} ${ARG_EXTRA_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    QC_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QC_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()

# qc_add_fuzzer(NAME SOURCE DEPS ...): a libFuzzer entry point, built only with QC_FUZZ.
function(qc_add_fuzzer name source)
  if(NOT QC_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

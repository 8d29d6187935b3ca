# Shared target conventions: warnings, floating-point contract, modules, tests.

# Every target of ours: C++17, warnings on, and no fused multiply-add
# contraction, so that results are the same on every machine and both targets.
function(torva_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off)
  if(TORVA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${TORVA_SANITIZE} -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=${TORVA_SANITIZE})
  endif()
endfunction()

# A static library of ours, position-independent so that modules can link it.
function(torva_add_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON
                                           CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  torva_defaults(${name})
endfunction()

# A module's entry points, as an object library: every module that links it
# carries them whole, so exported entries are never dropped as unreferenced.
# On Linux the version script EXPORTS lets only the entries out of a shared
# library linking it (executables, such as tests, keep their usual symbols).
#   torva_add_entry_library(<name> EXPORTS <map> SOURCES ... LIBS ...)
function(torva_add_entry_library name)
  cmake_parse_arguments(E "" "EXPORTS" "SOURCES;LIBS" ${ARGN})
  add_library(${name} OBJECT ${E_SOURCES})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON
                                           CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  torva_defaults(${name})
  target_link_libraries(${name} PUBLIC ${E_LIBS})
  if(NOT WIN32 AND E_EXPORTS)
    target_link_options(${name} INTERFACE
      "$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,SHARED_LIBRARY>:-Wl,--version-script=${E_EXPORTS}>")
  endif()
endfunction()

# One definition of a plug-in module for both targets.
#   torva_add_module(<target> OUTPUT_NAME <name> SUFFIX <.dll|.vst3|.so>
#                    DIST_SUBDIR <path below dist/<platform>>
#                    SOURCES ... LIBS ...)
# Only the entry symbols are exported (they carry default visibility in the
# source); everything else stays hidden, and on Linux every symbol must resolve
# at link time (-z defs).
function(torva_add_module target)
  cmake_parse_arguments(M "" "OUTPUT_NAME;SUFFIX;DIST_SUBDIR" "SOURCES;LIBS" ${ARGN})
  add_library(${target} SHARED ${M_SOURCES})
  torva_defaults(${target})
  target_link_libraries(${target} PRIVATE ${M_LIBS})
  set(outdir ${TORVA_DIST_PLATFORM_DIR})
  if(M_DIST_SUBDIR)
    set(outdir ${outdir}/${M_DIST_SUBDIR})
  endif()
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${M_OUTPUT_NAME}
    SUFFIX ${M_SUFFIX}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${outdir}
    RUNTIME_OUTPUT_DIRECTORY ${outdir})
  if(WIN32)
    # No import library next to the deliverable.
    set_target_properties(${target} PROPERTIES ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/implib)
  else()
    target_link_options(${target} PRIVATE -Wl,-z,defs)
  endif()
endfunction()

# A GoogleTest executable. Natively each case becomes a CTest test; in the
# Windows build the executable lands in tests-bin/ where scripts/test runs
# every test_*.exe under Wine.
function(torva_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  torva_defaults(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  target_compile_definitions(${name} PRIVATE TORVA_DIST_PLATFORM_DIR="${TORVA_DIST_PLATFORM_DIR}"
                                              TORVA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# A Google Benchmark program (native builds only), into <build>/bench-bin.
function(torva_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  torva_defaults(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench-bin)
endfunction()

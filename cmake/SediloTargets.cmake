# Shared compile settings for every target of the project.
function(sedilo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra
    # Designated initializers leave the other members at their defaults on purpose.
    -Wno-missing-field-initializers
    # GCC 12 reports std::string concatenation inside libstdc++ as overlapping
    # memcpy at -O2 (GCC bug 105651), drowning real warnings.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
endfunction()

# One static library per core subsystem folder; sources are the folder's .cpp files.
function(sedilo_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A subsystem still made of headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src/core)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src/core)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  sedilo_warnings(${name})
endfunction()

# One GoogleTest executable per test folder; every test runs with a fixed environment.
function(sedilo_gtest name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} sedilo_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  sedilo_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "LANG=C.UTF-8" TIMEOUT 300)
endfunction()

# One static library per folder of src/. Sources are globbed so that adding a
# file needs no edit here; CONFIGURE_DEPENDS re-globs on every build.
function(qz_library name)
  cmake_parse_arguments(Q "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  if(srcs)
    add_library(qz_${name} STATIC ${srcs})
    target_include_directories(qz_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(qz_${name} PUBLIC ${Q_DEPS})
  else()
    add_library(qz_${name} INTERFACE)
    target_include_directories(qz_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(qz_${name} INTERFACE ${Q_DEPS})
  endif()
endfunction()

# One test executable per folder of tests/, linked against every core library.
function(qz_test name)
  cmake_parse_arguments(Q "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/tests/${name}/*.cpp)
  if(QZ_SHARED_FIXTURES)
    list(REMOVE_ITEM srcs ${QZ_SHARED_FIXTURES})
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${name} ${srcs})
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE qz_core qz_testbeds qz_testkit ${Q_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(test_${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QZ_SOURCE_DIR=${PROJECT_SOURCE_DIR};QZ_BINARY_DIR=${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

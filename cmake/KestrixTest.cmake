# kestrix_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest executable with the shared test main (offscreen Qt,
# fixed style and fonts) and registers its cases with CTest.
function(kestrix_add_test name)
  cmake_parse_arguments(KT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE kestrix_testsupport ${KT_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESTRIX_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
               TIMEOUT 120)
endfunction()

# kestrix_add_test(<name> [CORE] SOURCES <files...> LIBS <targets...>)
# Builds one GoogleTest executable and registers its cases with CTest. It
# links the shared GUI test main (offscreen Qt, fixed style and fonts) and
# helpers; with CORE, the Qt Core main and helpers only, for the libraries
# below the GUI.
function(kestrix_add_test name)
  cmake_parse_arguments(KT "CORE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  if(KT_CORE)
    set(support kestrix_testmain_core)
  else()
    set(support kestrix_testsupport)
  endif()
  target_link_libraries(${name} PRIVATE ${support} ${KT_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KESTRIX_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
               TIMEOUT 120)
endfunction()

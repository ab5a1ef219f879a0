# nerivo_module(<name> [DEPS targets...] [SOURCE_DIRS dirs...])
# One folder, one static library <name> from its *.cpp files, and one GoogleTest program
# <name>_test from its *_test.cpp files, registered with CTest.
function(nerivo_module name)
  cmake_parse_arguments(M "" "" "DEPS;SOURCE_DIRS;TEST_DEPS" ${ARGN})
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(d IN LISTS M_SOURCE_DIRS)
    list(APPEND dirs ${CMAKE_CURRENT_SOURCE_DIR}/${d})
  endforeach()
  set(all)
  foreach(d IN LISTS dirs)
    file(GLOB found CONFIGURE_DEPENDS ${d}/*.cpp)
    list(APPEND all ${found})
  endforeach()
  set(srcs ${all})
  list(FILTER srcs EXCLUDE REGEX "_test\\.cpp$")
  list(FILTER srcs EXCLUDE REGEX "/testkit/")
  set(tests ${all})
  list(FILTER tests INCLUDE REGEX "_test\\.cpp$")

  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${M_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${M_DEPS})
  endif()

  if(tests)
    add_executable(${name}_test ${tests})
    target_link_libraries(${name}_test PRIVATE ${name} ${M_TEST_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name}_test
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      DISCOVERY_TIMEOUT 120)
    nerivo_test_environment(${name}_test)
  endif()
endfunction()

# The environment of every test a GoogleTest program holds: the source folder, and SDL's dummy video
# and audio drivers (no window of SDL's own, no sound card probed). gtest_discover_tests cannot carry
# a property whose value is a list (it splits it into separate arguments, and only the first variable
# would be set), so a file that ctest reads after the discovered tests sets it on all of them.
function(nerivo_test_environment test_target)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${test_target}_environment.cmake)
  file(WRITE ${file}
       "if(DEFINED ${test_target}_TESTS)\n"
       "  set_tests_properties(\${${test_target}_TESTS} PROPERTIES ENVIRONMENT\n"
       "    \"NERIVO_SOURCE_DIR=${PROJECT_SOURCE_DIR};SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy\")\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()

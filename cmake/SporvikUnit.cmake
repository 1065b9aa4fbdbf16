# One library per source folder, its files picked up by glob so that adding a
# unit needs no edit here; a folder's main.cpp is its program, not part of it.
function(sporvik_unit name dir)
  cmake_parse_arguments(U "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  # Each source's own header, so AUTOMOC sees the classes declared there.
  list(TRANSFORM sources REPLACE "\\.cpp$" ".h" OUTPUT_VARIABLE headers)
  foreach(header IN LISTS headers)
    if(NOT EXISTS ${header})
      list(REMOVE_ITEM headers ${header})
    endif()
  endforeach()
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${U_DEPS})
endfunction()

# One test executable per source folder, each test registered with ctest.
# PRELOAD names a library the tests run with in LD_PRELOAD (the test main
# sets the platform and time zone itself, so nothing else is needed then).
function(sporvik_tests name dir)
  cmake_parse_arguments(T "" "PRELOAD" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE sporvik_testsupport ${T_DEPS})
  set(environment "QT_QPA_PLATFORM=offscreen;TZ=UTC")
  if(T_PRELOAD)
    set(environment "LD_PRELOAD=${T_PRELOAD}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${environment}")
endfunction()

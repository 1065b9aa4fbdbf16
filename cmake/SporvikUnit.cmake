# One library per source folder, its files picked up by glob so that adding a
# unit needs no edit here. A folder without sources yet becomes an interface
# library, so the units above it can already link to it.
# ONLY (a regular expression) keeps just the matching files; EXCLUDE leaves
# the matching ones out, for a folder shared by two units.
function(sporvik_unit name dir)
  cmake_parse_arguments(U "" "ONLY;EXCLUDE" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(U_ONLY)
    list(FILTER sources INCLUDE REGEX "${U_ONLY}")
  endif()
  if(U_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${U_EXCLUDE}")
  endif()
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
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
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${U_DEPS})
  endif()
endfunction()

# One test executable per source folder, each test registered with ctest.
# PRELOAD names a library the tests run with in LD_PRELOAD (the test main
# sets the platform and time zone itself, so nothing else is needed then).
function(sporvik_tests name dir)
  cmake_parse_arguments(T "" "PRELOAD" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
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

# sl_area(<lib> <folders> <deps>): the folders' *.cpp become one static library,
# their tests/*.cpp (and tests/*.rc) one GoogleTest executable <lib>_tests that ctest
# runs under Wine, from the tests' data folder.
function(sl_area lib dirs deps)
  set(srcs)
  set(tsrcs)
  foreach(dir ${dirs})
    file(GLOB s CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    file(GLOB t CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/tests/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/tests/*.rc)
    list(APPEND srcs ${s})
    list(APPEND tsrcs ${t})
  endforeach()
  if(srcs)
    add_library(${lib} STATIC ${srcs})
    target_include_directories(${lib} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${lib} PRIVATE ${SL_WARNINGS})
    target_link_libraries(${lib} PUBLIC ${deps} ${SL_WIN_LIBS})
  else()
    add_library(${lib} INTERFACE)
    target_include_directories(${lib} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${lib} INTERFACE ${deps} ${SL_WIN_LIBS})
  endif()
  if(tsrcs)
    # The layer's tests see only the layer's own resources; the rest see the program's.
    if(lib STREQUAL "fw")
      set(rsrc fw_resources)
    else()
      set(rsrc sl_resources)
    endif()
    add_executable(${lib}_tests ${tsrcs} $<TARGET_OBJECTS:${rsrc}>)
    target_compile_options(${lib}_tests PRIVATE ${SL_WARNINGS})
    target_include_directories(${lib}_tests PRIVATE ${CMAKE_SOURCE_DIR}
                               ${CMAKE_SOURCE_DIR}/res ${CMAKE_SOURCE_DIR}/fw/res)
    # Every test executable has the shared helpers and their main (GDI+ for the run);
    # the floors below base only the window layer's part.
    if(lib STREQUAL "fw" OR lib STREQUAL "digest")
      set(support testsupport_core)
    else()
      set(support testsupport)
    endif()
    target_link_libraries(${lib}_tests PRIVATE ${lib} ${support} gmock gtest)
    add_test(NAME ${lib}_tests COMMAND ${lib}_tests --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testdata)
    set_tests_properties(${lib}_tests PROPERTIES TIMEOUT 600
             ENVIRONMENT "SL_SOURCE_DIR=${CMAKE_SOURCE_DIR};SL_BINARY_DIR=${CMAKE_BINARY_DIR}")
    add_dependencies(${lib}_tests sl_data)
  endif()
endfunction()

# sl_area(<lib> <folder> <deps>): the folder's *.cpp become a static library,
# its tests/*.cpp one GoogleTest executable <lib>_tests run by ctest under Wine.
function(sl_area lib dir deps)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(srcs)
    add_library(${lib} STATIC ${srcs})
  else()
    add_library(${lib} INTERFACE)
  endif()
  if(srcs)
    target_include_directories(${lib} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(${lib} PRIVATE ${SL_WARNINGS})
    target_link_libraries(${lib} PUBLIC ${deps} ${SL_WIN_LIBS})
  else()
    target_include_directories(${lib} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${lib} INTERFACE ${deps} ${SL_WIN_LIBS})
  endif()
  file(GLOB tsrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/tests/*.cpp
                                      ${CMAKE_SOURCE_DIR}/${dir}/tests/*.rc)
  if(tsrcs)
    # The layer's tests see only the layer's own resources; the rest see the program's.
    if(lib STREQUAL "fw")
      set(rsrc fw_resources)
    else()
      set(rsrc sl_resources)
    endif()
    add_executable(${lib}_tests ${tsrcs} $<TARGET_OBJECTS:${rsrc}>)
    target_include_directories(${lib}_tests PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_SOURCE_DIR}/fw/res)
    target_compile_options(${lib}_tests PRIVATE ${SL_WARNINGS})
    target_include_directories(${lib}_tests PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${lib}_tests PRIVATE ${lib} gmock gtest)
    # Tests run from the assembled data folder, as the program does.
    add_test(NAME ${lib}_tests COMMAND ${lib}_tests --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/testdata)
    set_tests_properties(${lib}_tests PROPERTIES TIMEOUT 600
             ENVIRONMENT "SL_SOURCE_DIR=${CMAKE_SOURCE_DIR};SL_BINARY_DIR=${CMAKE_BINARY_DIR}")
    add_dependencies(${lib}_tests sl_data)
  endif()
endfunction()

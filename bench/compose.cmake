# One composition of the main window, picture cache on and off.
if(TARGET vantrel_mainwin)
  add_executable(bench_compose ${CMAKE_CURRENT_LIST_DIR}/compose.cpp)
  target_link_libraries(bench_compose PRIVATE vantrel_test_support vantrel_mainwin benchmark::benchmark)
  target_compile_definitions(bench_compose PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                   RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  foreach(dep nvapi_sim skin_pictures skin_font)
    if(TARGET ${dep})
      add_dependencies(bench_compose ${dep})
    endif()
  endforeach()
endif()

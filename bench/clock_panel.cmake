# Opening the clock panel, and one frame of a slider drag on it.
if(TARGET vantrel_mainwin AND TARGET vantrel_tuning)
  add_executable(bench_clock_panel ${CMAKE_CURRENT_LIST_DIR}/clock_panel.cpp)
  target_link_libraries(bench_clock_panel PRIVATE vantrel_mainwin vantrel_tuning benchmark::benchmark)
  target_compile_definitions(bench_clock_panel PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                       RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  foreach(dep nvapi_sim skin_pictures skin_font)
    if(TARGET ${dep})
      add_dependencies(bench_clock_panel ${dep})
    endif()
  endforeach()
endif()

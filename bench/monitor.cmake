# The monitor panel's sampling step and one full graph drawing.
if(TARGET vantrel_monitor)
  add_executable(bench_monitor ${CMAKE_CURRENT_LIST_DIR}/monitor.cpp)
  target_link_libraries(bench_monitor PRIVATE vantrel_monitor benchmark::benchmark)
  target_compile_definitions(bench_monitor PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                   RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  if(TARGET nvapi_sim)
    add_dependencies(bench_monitor nvapi_sim)
  endif()
endif()

# One fan-curve tick: the curve model alone and the step on the simulated card.
add_executable(bench_fan_tick ${CMAKE_CURRENT_LIST_DIR}/fan_tick.cpp)
target_link_libraries(bench_fan_tick PRIVATE vantrel_fan benchmark::benchmark)
target_compile_definitions(bench_fan_tick PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so")
if(TARGET nvapi_sim)
  add_dependencies(bench_fan_tick nvapi_sim)
endif()

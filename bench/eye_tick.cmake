# One main-window eye tick: composition plus the two quick-sight readings.
if(TARGET vantrel_mainwin)
  add_executable(bench_eye_tick ${CMAKE_CURRENT_LIST_DIR}/eye_tick.cpp)
  target_link_libraries(bench_eye_tick PRIVATE vantrel_mainwin benchmark::benchmark)
  target_include_directories(bench_eye_tick PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(bench_eye_tick PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                    RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  if(TARGET nvapi_sim)
    add_dependencies(bench_eye_tick nvapi_sim)
  endif()
endif()

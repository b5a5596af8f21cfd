# The main window from creation to its first frame, with and without a scheduled update
# check against a server that never answers.
if(TARGET vantrel_mainwin)
  add_executable(bench_update_check_start ${CMAKE_CURRENT_LIST_DIR}/update_check_start.cpp)
  target_link_libraries(bench_update_check_start PRIVATE vantrel_mainwin Qt6::Network benchmark::benchmark)
  target_compile_definitions(bench_update_check_start PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                              RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  if(TARGET nvapi_sim)
    add_dependencies(bench_update_check_start nvapi_sim)
  endif()
endif()

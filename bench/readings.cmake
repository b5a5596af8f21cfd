# One round of the monitored readings, on the simulated card and on the tests' immediate driver
# (built with the tests only).
if(TARGET vantrel_test_driver)
  add_executable(bench_readings ${CMAKE_CURRENT_LIST_DIR}/readings.cpp)
  target_link_libraries(bench_readings PRIVATE vantrel_gpu benchmark::benchmark)
  target_compile_definitions(bench_readings PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                    TEST_DRIVER_PATH="$<TARGET_FILE:vantrel_test_driver>")
  add_dependencies(bench_readings vantrel_test_driver)
  if(TARGET nvapi_sim)
    add_dependencies(bench_readings nvapi_sim)
  endif()
endif()

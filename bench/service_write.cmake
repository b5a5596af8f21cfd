# One fan write through the NVML bridge in-process, against the same write forwarded to vantreld.
if(TARGET vantreld AND TARGET fake_nvml_full)
  add_executable(bench_service_write ${CMAKE_CURRENT_LIST_DIR}/service_write.cpp)
  target_include_directories(bench_service_write PRIVATE ${PROJECT_SOURCE_DIR}/tests/nvml
                                                         ${PROJECT_SOURCE_DIR}/drivers/nvml)
  target_link_libraries(bench_service_write PRIVATE nvapi_contract benchmark::benchmark ${CMAKE_DL_LIBS})
  target_compile_definitions(bench_service_write PRIVATE NVML_BRIDGE_PATH="$<TARGET_FILE:nvapi-nvml>"
                                                         FAKE_NVML_PATH="$<TARGET_FILE:fake_nvml_full>"
                                                         VANTRELD_PATH="$<TARGET_FILE:vantreld>")
  add_dependencies(bench_service_write nvapi-nvml fake_nvml_full vantreld)
endif()

# One round of the ten monitored readings through the NVML bridge on the fake NVML, against the
# same NVML calls made directly.
if(TARGET nvapi-nvml AND TARGET fake_nvml_full)
  add_executable(bench_nvml_bridge ${CMAKE_CURRENT_LIST_DIR}/nvml_bridge.cpp)
  target_include_directories(bench_nvml_bridge PRIVATE ${PROJECT_SOURCE_DIR}/tests/nvml
                                                       ${PROJECT_SOURCE_DIR}/drivers/nvml)
  target_link_libraries(bench_nvml_bridge PRIVATE nvapi_contract benchmark::benchmark ${CMAKE_DL_LIBS})
  target_compile_definitions(bench_nvml_bridge PRIVATE NVML_BRIDGE_PATH="$<TARGET_FILE:nvapi-nvml>"
                                                       FAKE_NVML_PATH="$<TARGET_FILE:fake_nvml_full>")
  add_dependencies(bench_nvml_bridge nvapi-nvml fake_nvml_full)
endif()

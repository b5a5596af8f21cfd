# One one-second refresh of the GPU information panel: live clock query and repaint.
if(TARGET vantrel_mainwin)
  add_executable(bench_gpu_info_refresh ${CMAKE_CURRENT_LIST_DIR}/gpu_info_refresh.cpp)
  target_link_libraries(bench_gpu_info_refresh PRIVATE vantrel_mainwin benchmark::benchmark)
  target_compile_definitions(bench_gpu_info_refresh PRIVATE SIM_DRIVER_PATH="${VANTREL_DRIVER_DIR}/libnvapi-sim.so"
                                                            RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  foreach(dep nvapi_sim skin_pictures skin_font)
    if(TARGET ${dep})
      add_dependencies(bench_gpu_info_refresh ${dep})
    endif()
  endforeach()
endif()

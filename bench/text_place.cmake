# Placing a gauge's value label: a value drawn before, and one never drawn.
if(TARGET vantrel_skin)
  add_executable(bench_text_place ${CMAKE_CURRENT_LIST_DIR}/text_place.cpp)
  target_link_libraries(bench_text_place PRIVATE vantrel_skin benchmark::benchmark)
  target_compile_definitions(bench_text_place PRIVATE RUNTIME_DIR="${VANTREL_RUNTIME_DIR}")
  if(TARGET skin_font)
    add_dependencies(bench_text_place skin_font)
  endif()
endif()

# The fan-curve editor: one drag frame (move + repaint of the band) and a full repaint.
add_executable(bench_fan_editor ${CMAKE_CURRENT_LIST_DIR}/fan_editor.cpp)
target_link_libraries(bench_fan_editor PRIVATE vantrel_fan_ui benchmark::benchmark)

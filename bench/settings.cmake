add_executable(bench_settings ${CMAKE_CURRENT_LIST_DIR}/settings.cpp)
target_link_libraries(bench_settings PRIVATE vantrel_test_support vantrel_settings benchmark::benchmark)
set_target_properties(bench_settings PROPERTIES AUTOMOC OFF)

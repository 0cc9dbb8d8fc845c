# The data layer: numbering, opening the data file, loading a large Dataset.
add_executable(bench_data ${CMAKE_CURRENT_LIST_DIR}/data_bench.cpp)
target_link_libraries(bench_data PRIVATE gzbenchdata benchmark::benchmark)
gz_warnings(bench_data)

# Wage documents: posting a 200-line piece-rate document against a hand-written floor, and the
# import of a factory's employee list.
add_executable(bench_wages ${CMAKE_CURRENT_LIST_DIR}/wages_bench.cpp)
target_link_libraries(bench_wages PRIVATE gzbenchdata benchmark::benchmark)
gz_warnings(bench_wages)

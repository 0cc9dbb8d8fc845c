# The payroll refresh and the wage summaries on the generated factory year.
add_executable(bench_payroll ${CMAKE_CURRENT_LIST_DIR}/payroll_bench.cpp)
target_link_libraries(bench_payroll PRIVATE gzbenchdata benchmark::benchmark)
gz_warnings(bench_payroll)

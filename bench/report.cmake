# Report engine benchmarks: payroll sheet and pay slips for 3,000 employees, prepared and exported.
if(TARGET gzreport)
  add_executable(bench_report ${CMAKE_CURRENT_LIST_DIR}/report_bench.cpp)
  target_include_directories(bench_report PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(bench_report PRIVATE gzreport gzcore benchmark::benchmark)
  gz_warnings(bench_report)
endif()

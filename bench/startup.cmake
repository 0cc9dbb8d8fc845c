# Start-up time: process start to the login window shown, against a minimal Qt program that shows
# one window, measured in the same run.
add_executable(startup_floor ${CMAKE_CURRENT_LIST_DIR}/startup_floor.cpp)
target_link_libraries(startup_floor PRIVATE Qt6::Widgets)
gz_warnings(startup_floor)

add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
target_link_libraries(bench_startup PRIVATE gzcore benchmark::benchmark)
target_compile_definitions(bench_startup PRIVATE PKVGZGL_BIN="$<TARGET_FILE:pkvgzgl>"
                                                 FLOOR_BIN="$<TARGET_FILE:startup_floor>")
add_dependencies(bench_startup pkvgzgl startup_floor)
gz_warnings(bench_startup)

# The grid model over a million rows.
add_executable(bench_grid ${CMAKE_CURRENT_LIST_DIR}/startup_grid.cpp)
target_link_libraries(bench_grid PRIVATE gzui benchmark::benchmark)
gz_warnings(bench_grid)

# The generator of a large factory data file, shared by every benchmark program.
add_library(gzbenchdata STATIC ${CMAKE_CURRENT_LIST_DIR}/common/FactoryGenerator.cpp
                               ${CMAKE_CURRENT_LIST_DIR}/common/FactoryGenerator.h)
target_include_directories(gzbenchdata PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(gzbenchdata PUBLIC gzcore)
gz_warnings(gzbenchdata)

add_executable(bench_generate ${CMAKE_CURRENT_LIST_DIR}/common/generate_main.cpp)
target_link_libraries(bench_generate PRIVATE gzbenchdata)
gz_warnings(bench_generate)

# The site charts and the printed report (Qt Charts, Svg and PrintSupport).
# The analysis window and the console program link it.
find_package(Qt6 REQUIRED COMPONENTS Charts Svg PrintSupport)
file(GLOB veldesk_print_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_library(veldesk_print STATIC ${veldesk_print_sources})
target_include_directories(veldesk_print PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(veldesk_print PUBLIC veldesk_core Qt6::Widgets Qt6::Charts Qt6::Svg Qt6::PrintSupport)
target_compile_definitions(veldesk_print PRIVATE VELDESK_VERSION="${PROJECT_VERSION}")

if(BUILD_TESTING AND VELPRA_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
  add_executable(bench_print ${CMAKE_CURRENT_LIST_DIR}/../bench/bench_print.cpp)
  target_link_libraries(bench_print PRIVATE veldesk_print benchmark::benchmark)
endif()

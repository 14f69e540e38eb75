# Benchmarks of the desktop backend's settings window, on a headless X server of their own.
# They need the toolkit, so they are kept out of the simulated desktop's benchmark program.
file(GLOB VELTRIN_DESKTOP_BENCH_SOURCES CONFIGURE_DEPENDS bench/Settings*.cpp)
if(TARGET veltrin_bench)
  get_target_property(VELTRIN_SIM_BENCH_SOURCES veltrin_bench SOURCES)
  list(REMOVE_ITEM VELTRIN_SIM_BENCH_SOURCES ${VELTRIN_DESKTOP_BENCH_SOURCES})
  set_property(TARGET veltrin_bench PROPERTY SOURCES ${VELTRIN_SIM_BENCH_SOURCES})
endif()
if(VELTRIN_DESKTOP_BENCH_SOURCES)
  add_executable(veltrin_desktop_bench ${VELTRIN_DESKTOP_BENCH_SOURCES}
    tests/desktop/HeadlessDesktop.cpp tests/desktop/ChildProcess.cpp tests/desktop/XDriver.cpp
    tests/desktop/XDriverInput.cpp tools/testclient/Atom.cpp tools/testclient/Image.cpp
    tools/testclient/KeyCombination.cpp)
  target_include_directories(veltrin_desktop_bench PRIVATE tests tools bench)
  target_link_libraries(veltrin_desktop_bench PRIVATE veltrin_desktop veltrin_logic
    Qt6::Core Qt6::Gui Qt6::Widgets PkgConfig::XCB PNG::PNG benchmark::benchmark
    benchmark::benchmark_main)
endif()

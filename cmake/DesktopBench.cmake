# The desktop benchmarks, each on a headless desktop of its own; only built by the test script.
# bench/desktop: a pinned window (follow lag, picture latency, CPU), with the desktop tests'
# fixture, the built program and the test client.
file(GLOB VELTRIN_DESKTOP_BENCH_SOURCES CONFIGURE_DEPENDS bench/desktop/*.cpp)
if(VELTRIN_DESKTOP_BENCH_SOURCES AND TARGET veltrin_test_client)
  add_executable(veltrin_desktop_bench ${VELTRIN_DESKTOP_BENCH_SOURCES}
    tests/desktop/ChildProcess.cpp tests/desktop/HeadlessDesktop.cpp tests/desktop/TestClient.cpp
    tests/desktop/VeltrinProcess.cpp tests/desktop/XDriver.cpp tests/desktop/XDriverInput.cpp
    tools/testclient/Atom.cpp tools/testclient/ClientOptions.cpp tools/testclient/Image.cpp
    tools/testclient/KeyCombination.cpp)
  target_include_directories(veltrin_desktop_bench PRIVATE tests tools)
  target_link_libraries(veltrin_desktop_bench PRIVATE veltrin_platform PkgConfig::XCB PNG::PNG
    benchmark::benchmark)
  target_compile_definitions(veltrin_desktop_bench PRIVATE
    VELTRIN_BINARY="$<TARGET_FILE:veltrin>"
    VELTRIN_TEST_CLIENT="$<TARGET_FILE:veltrin_test_client>")
  add_dependencies(veltrin_desktop_bench veltrin veltrin_test_client)
  # bench/desktop/wayland: the same measurements on a headless KWin (--desktop wayland), with
  # the Wayland tests' fixture and client.
  file(GLOB VELTRIN_KWIN_BENCH_SOURCES CONFIGURE_DEPENDS bench/desktop/wayland/*.cpp)
  if(TARGET veltrin_wayland_test_client AND TARGET Qt6::DBus)
    target_sources(veltrin_desktop_bench PRIVATE ${VELTRIN_KWIN_BENCH_SOURCES}
      tests/desktop/wayland/HeadlessKWin.cpp tests/desktop/wayland/MediaSession.cpp
      tests/desktop/wayland/WaylandTestClient.cpp)
    target_include_directories(veltrin_desktop_bench PRIVATE bench/desktop)
    target_link_libraries(veltrin_desktop_bench PRIVATE Qt6::Core Qt6::DBus)
    target_compile_definitions(veltrin_desktop_bench PRIVATE VELTRIN_BENCH_KWIN=1
      VELTRIN_WAYLAND_TEST_CLIENT="$<TARGET_FILE:veltrin_wayland_test_client>")
    add_dependencies(veltrin_desktop_bench veltrin_wayland_test_client)
  endif()
endif()

# bench/Settings*: the settings window's first showing, frame rate and idle cost, on the
# toolkit.
file(GLOB VELTRIN_SETTINGS_BENCH_SOURCES CONFIGURE_DEPENDS bench/Settings*.cpp)
if(VELTRIN_SETTINGS_BENCH_SOURCES)
  add_executable(veltrin_settings_bench ${VELTRIN_SETTINGS_BENCH_SOURCES}
    tests/desktop/HeadlessDesktop.cpp tests/desktop/ChildProcess.cpp tests/desktop/XDriver.cpp
    tests/desktop/XDriverInput.cpp tools/testclient/Atom.cpp tools/testclient/Image.cpp
    tools/testclient/KeyCombination.cpp)
  target_include_directories(veltrin_settings_bench PRIVATE tests tools bench)
  target_link_libraries(veltrin_settings_bench PRIVATE veltrin_desktop veltrin_logic
    Qt6::Core Qt6::Gui Qt6::Widgets PkgConfig::XCB PNG::PNG benchmark::benchmark
    benchmark::benchmark_main)
endif()

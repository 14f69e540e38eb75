# The desktop benchmark (bench/desktop): its own headless desktop, the built program and the
# test client, with the desktop tests' fixture. Not run by the test script, only built.
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
endif()

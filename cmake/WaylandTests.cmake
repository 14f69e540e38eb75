# End-to-end tests of the Wayland desktop on a headless KWin that they start themselves
# (label "wayland"), in the Wayland tests' program: the built program, the Wayland test
# client, and the desktop tests' process, log and pixel helpers. Without the Wayland desktop
# they leave the program.
set(VELTRIN_KWIN_TEST_SOURCES HeadlessKWin.cpp WaylandTestClient.cpp WaylandPinningFixture.cpp
  TrayHost.cpp WaylandPinTest.cpp WaylandOutputsTest.cpp WaylandSessionTest.cpp
  WaylandCommandsTest.cpp WaylandKeyCodesTest.cpp WaylandTrayTest.cpp WaylandPictureSurfaceTest.cpp)
list(TRANSFORM VELTRIN_KWIN_TEST_SOURCES PREPEND "${CMAKE_CURRENT_SOURCE_DIR}/tests/desktop/wayland/")
if(TARGET veltrin_wayland_media_tests AND TARGET veltrin_wayland_test_client)
  target_sources(veltrin_wayland_media_tests PRIVATE tests/desktop/VeltrinProcess.cpp
    tests/desktop/XDriver.cpp tests/desktop/XDriverInput.cpp tools/testclient/Atom.cpp
    tools/testclient/ClientOptions.cpp tools/testclient/Image.cpp
    tools/testclient/KeyCombination.cpp)
  target_include_directories(veltrin_wayland_media_tests PRIVATE tools)
  target_link_libraries(veltrin_wayland_media_tests PRIVATE PkgConfig::XCB PNG::PNG)
  target_compile_definitions(veltrin_wayland_media_tests PRIVATE
    VELTRIN_BINARY="$<TARGET_FILE:veltrin>"
    VELTRIN_WAYLAND_TEST_CLIENT="$<TARGET_FILE:veltrin_wayland_test_client>"
    VELTRIN_BUILD_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(veltrin_wayland_media_tests veltrin veltrin_wayland_test_client)
elseif(TARGET veltrin_wayland_media_tests)
  get_target_property(sources veltrin_wayland_media_tests SOURCES)
  list(REMOVE_ITEM sources ${VELTRIN_KWIN_TEST_SOURCES})
  set_property(TARGET veltrin_wayland_media_tests PROPERTY SOURCES ${sources})
endif()

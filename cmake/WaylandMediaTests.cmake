# Tests of the Wayland desktop's media side on a private session bus with PipeWire
# (label "wayland"); they share the desktop tests' process and capture helpers.
file(GLOB VELTRIN_WAYLAND_MEDIA_TEST_SOURCES CONFIGURE_DEPENDS tests/desktop/wayland/*.cpp)
add_executable(veltrin_wayland_media_tests ${VELTRIN_WAYLAND_MEDIA_TEST_SOURCES}
  tests/desktop/ChildProcess.cpp tests/desktop/CaptureRecorder.cpp)
target_include_directories(veltrin_wayland_media_tests PRIVATE tests)
set_source_files_properties(tests/desktop/wayland/TestVideoProducer.cpp
  PROPERTIES COMPILE_OPTIONS "${VELTRIN_SPA_POD_OPTIONS}")
target_link_libraries(veltrin_wayland_media_tests PRIVATE veltrin_desktop PkgConfig::PIPEWIRE
  Qt6::DBus GTest::gtest GTest::gtest_main)
gtest_discover_tests(veltrin_wayland_media_tests DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 300 LABELS wayland RUN_SERIAL TRUE)
# The panel painter's tests draw with the toolkit into images of simulated frames.
target_link_libraries(veltrin_wayland_media_tests PRIVATE veltrin_sim Qt6::Gui)

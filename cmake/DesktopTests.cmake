# End-to-end tests on a real X server that the tests start themselves (label "desktop").
# The fixture reuses the test client's image, key and option code.
file(GLOB VELTRIN_DESKTOP_TEST_SOURCES CONFIGURE_DEPENDS tests/desktop/*.cpp)
if(VELTRIN_DESKTOP_TEST_SOURCES)
  add_executable(veltrin_desktop_tests ${VELTRIN_DESKTOP_TEST_SOURCES}
    tools/testclient/Atom.cpp tools/testclient/ClientOptions.cpp tools/testclient/Image.cpp
    tools/testclient/KeyCombination.cpp)
  target_include_directories(veltrin_desktop_tests PRIVATE tests tools)
  target_link_libraries(veltrin_desktop_tests PRIVATE veltrin_desktop veltrin_simulate
    PkgConfig::XCB PNG::PNG GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(veltrin_desktop_tests PRIVATE VELTRIN_BINARY="$<TARGET_FILE:veltrin>")
  # The install and screenshot tests run cmake --install, cpack and the screenshots script on
  # this very build; the tray, symbol and font tests use the toolkit in the test process.
  target_compile_definitions(veltrin_desktop_tests PRIVATE
    VELTRIN_BUILD_DIR="${CMAKE_BINARY_DIR}" VELTRIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  target_link_libraries(veltrin_desktop_tests PRIVATE Qt6::Gui)
  add_dependencies(veltrin_desktop_tests veltrin)
  if(TARGET veltrin_test_client)
    target_compile_definitions(veltrin_desktop_tests PRIVATE
      VELTRIN_TEST_CLIENT="$<TARGET_FILE:veltrin_test_client>")
    add_dependencies(veltrin_desktop_tests veltrin_test_client)
  endif()
  gtest_discover_tests(veltrin_desktop_tests DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 LABELS desktop RUN_SERIAL TRUE)
endif()
include(cmake/WaylandMediaTests.cmake)
include(cmake/WaylandTests.cmake)

# The Linux X11 desktop backend: Qt 6 for the event loop, tray and settings window; xcb and
# its extension libraries for everything that touches other programs' windows.
set(CMAKE_AUTOMOC OFF)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets DBus)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET
  xcb xcb-composite xcb-damage xcb-shm xcb-xinput xcb-xtest xcb-shape xcb-res xcb-xfixes
  xcb-randr xcb-render xcb-renderutil xcb-keysyms)

file(GLOB VELTRIN_DESKTOP_SOURCES CONFIGURE_DEPENDS src/platform/desktop/*.cpp
  src/platform/desktop/x11/*.cpp)
add_library(veltrin_desktop STATIC ${VELTRIN_DESKTOP_SOURCES})
target_link_libraries(veltrin_desktop PUBLIC veltrin_logic
  PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets Qt6::DBus PkgConfig::XCB)
target_compile_definitions(veltrin_desktop PRIVATE
  VELTRIN_RESOURCES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/resources")

# The Wayland session, where libwayland-client is there to build it.
option(VELTRIN_WAYLAND "Build the Wayland desktop (KWin) when libwayland-client is found" ON)
pkg_check_modules(WAYLAND_CLIENT QUIET wayland-client)
if(VELTRIN_WAYLAND AND WAYLAND_CLIENT_FOUND)
  include(${CMAKE_CURRENT_LIST_DIR}/Wayland.cmake)
endif()

# A small X client that the desktop tests and the headless demo pin: known colours, a frame
# counter, and commands on standard input to move, resize, map and close itself.
file(GLOB VELTRIN_TEST_CLIENT_SOURCES CONFIGURE_DEPENDS tools/testclient/*.cpp)
if(VELTRIN_TEST_CLIENT_SOURCES)
  add_executable(veltrin_test_client ${VELTRIN_TEST_CLIENT_SOURCES})
  target_link_libraries(veltrin_test_client PRIVATE PkgConfig::XCB PNG::PNG)
endif()

include(cmake/WaylandMedia.cmake)

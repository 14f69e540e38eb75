# The Wayland session (KWin first): libwayland-client, with client code that wayland-scanner
# makes at build time from the installed protocol descriptions. Adds its sources to
# veltrin_desktop and defines VELTRIN_HAS_WAYLAND there.
find_package(PlasmaWaylandProtocols REQUIRED)
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-protocols)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

set(VELTRIN_WAYLAND_PROTOCOLS
  "${PLASMA_WAYLAND_PROTOCOLS_DIR}/plasma-window-management.xml"
  "${PLASMA_WAYLAND_PROTOCOLS_DIR}/zkde-screencast-unstable-v1.xml"
  "${PLASMA_WAYLAND_PROTOCOLS_DIR}/fake-input.xml"
  "${PLASMA_WAYLAND_PROTOCOLS_DIR}/kde-output-device-v2.xml"
  "${PLASMA_WAYLAND_PROTOCOLS_DIR}/kde-output-management-v2.xml"
  "${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml"
  "${WAYLAND_PROTOCOLS_DIR}/unstable/xdg-output/xdg-output-unstable-v1.xml"
  "${CMAKE_CURRENT_SOURCE_DIR}/src/platform/desktop/wayland/protocols/wlr-layer-shell-unstable-v1.xml")

set(VELTRIN_WAYLAND_GENERATED "${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols")
file(MAKE_DIRECTORY "${VELTRIN_WAYLAND_GENERATED}")
set(VELTRIN_WAYLAND_PROTOCOL_SOURCES)
foreach(xml IN LISTS VELTRIN_WAYLAND_PROTOCOLS)
  get_filename_component(name "${xml}" NAME_WE)
  set(header "${VELTRIN_WAYLAND_GENERATED}/${name}-client-protocol.h")
  set(code "${VELTRIN_WAYLAND_GENERATED}/${name}-protocol.c")
  add_custom_command(OUTPUT "${header}" "${code}"
    COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${header}"
    COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${code}"
    DEPENDS "${xml}" VERBATIM)
  list(APPEND VELTRIN_WAYLAND_PROTOCOL_SOURCES "${header}" "${code}")
endforeach()

# Generated C code builds as C, without the project's C++ warnings.
enable_language(C)
add_library(veltrin_wayland_protocols STATIC ${VELTRIN_WAYLAND_PROTOCOL_SOURCES})
target_include_directories(veltrin_wayland_protocols PUBLIC "${VELTRIN_WAYLAND_GENERATED}")
target_link_libraries(veltrin_wayland_protocols PUBLIC PkgConfig::WAYLAND)
set_target_properties(veltrin_wayland_protocols PROPERTIES LINKER_LANGUAGE C)

file(GLOB VELTRIN_WAYLAND_SOURCES CONFIGURE_DEPENDS src/platform/desktop/wayland/*.cpp)
target_sources(veltrin_desktop PRIVATE ${VELTRIN_WAYLAND_SOURCES})
target_link_libraries(veltrin_desktop PRIVATE veltrin_wayland_protocols)
target_compile_definitions(veltrin_desktop PUBLIC VELTRIN_HAS_WAYLAND=1)

# A Wayland window of a known colour that the Wayland tests pin: commands on standard input
# resize and recolour it, or click anywhere through KWin's fake input; it says when it is
# clicked and when it becomes the active window; it turns outputs off and on, or scales them.
add_executable(veltrin_wayland_test_client tools/waylandclient/main.cpp
  tools/waylandclient/Animation.cpp
  tools/waylandclient/ClientSurface.cpp
  tools/waylandclient/OutputSettings.cpp)
target_link_libraries(veltrin_wayland_test_client PRIVATE veltrin_wayland_protocols)

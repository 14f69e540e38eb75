# The Wayland desktop's media side: window pictures from PipeWire nodes (libpipewire) and
# the global shortcut through KGlobalAccel on the session bus (QtDBus).
find_package(Qt6 REQUIRED COMPONENTS DBus)
pkg_check_modules(PIPEWIRE REQUIRED IMPORTED_TARGET libpipewire-0.3)

file(GLOB VELTRIN_WAYLAND_MEDIA_SOURCES CONFIGURE_DEPENDS
  src/platform/desktop/wayland/PipeWire*.cpp src/platform/desktop/wayland/KGlobalAccel*.cpp)
target_sources(veltrin_desktop PRIVATE ${VELTRIN_WAYLAND_MEDIA_SOURCES})
target_link_libraries(veltrin_desktop PRIVATE PkgConfig::PIPEWIRE Qt6::DBus)
# PipeWire's parameter macros use GNU statement expressions and compound literals, which
# clang's -Wpedantic names at every use.
set(VELTRIN_SPA_POD_OPTIONS
  "$<$<CXX_COMPILER_ID:Clang>:-Wno-gnu-statement-expression;-Wno-c99-extensions>")
set_source_files_properties(src/platform/desktop/wayland/PipeWireConsumer.cpp
  src/platform/desktop/wayland/PipeWireRestarts.cpp
  PROPERTIES COMPILE_OPTIONS "${VELTRIN_SPA_POD_OPTIONS}")
# The one object that receives the shortcut service's signals needs the meta-object compiler.
qt_wrap_cpp(VELTRIN_WAYLAND_MEDIA_MOC src/platform/desktop/wayland/KGlobalAccelPresses.h)
target_sources(veltrin_desktop PRIVATE ${VELTRIN_WAYLAND_MEDIA_MOC})

#include "OutputSettings.h"

#include <wayland-client.h>

#include <cstring>
#include <vector>

#include "kde-output-device-v2-client-protocol.h"
#include "kde-output-management-v2-client-protocol.h"

namespace OutputSettings {
namespace {

struct Globals {
    kde_output_management_v2* management = nullptr;
    std::vector<kde_output_device_v2*> devices;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, kde_output_management_v2_interface.name) == 0)
        globals.management = static_cast<kde_output_management_v2*>(
            wl_registry_bind(registry, name, &kde_output_management_v2_interface, 1));
    else if (std::strcmp(interface, kde_output_device_v2_interface.name) == 0)
        globals.devices.push_back(static_cast<kde_output_device_v2*>(
            wl_registry_bind(registry, name, &kde_output_device_v2_interface, 1)));
}

// 1 applied, 0 refused, -1 no answer yet.
int applyAndWait(wl_display* display, kde_output_configuration_v2* configuration) {
    int result = -1;
    static const kde_output_configuration_v2_listener listener{
        [](void* data, kde_output_configuration_v2*) { *static_cast<int*>(data) = 1; },
        [](void* data, kde_output_configuration_v2*) { *static_cast<int*>(data) = 0; }};
    kde_output_configuration_v2_add_listener(configuration, &listener, &result);
    kde_output_configuration_v2_apply(configuration);
    while (result < 0 && wl_display_dispatch(display) >= 0) {
    }
    return result;
}

// Applies one change to the output's device; true once the compositor applied it.
template <typename Change>
bool configure(int output, Change change) {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return false;
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    static const wl_registry_listener listener{&global, [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    int result = 0;
    if (globals.management != nullptr && output >= 0 && output < int(globals.devices.size())) {
        kde_output_configuration_v2* configuration =
            kde_output_management_v2_create_configuration(globals.management);
        change(configuration, globals.devices[size_t(output)]);
        result = applyAndWait(display, configuration);
        kde_output_configuration_v2_destroy(configuration);
    }
    for (kde_output_device_v2* device : globals.devices)
        kde_output_device_v2_destroy(device);
    if (globals.management != nullptr) kde_output_management_v2_destroy(globals.management);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return result == 1;
}

}  // namespace

bool enable(int output, bool on) {
    return configure(output, [on](auto* configuration, auto* device) {
        kde_output_configuration_v2_enable(configuration, device, on ? 1 : 0);
    });
}

bool scale(int output, double factor) {
    return configure(output, [factor](auto* configuration, auto* device) {
        kde_output_configuration_v2_scale(configuration, device, wl_fixed_from_double(factor));
    });
}

}  // namespace OutputSettings

#pragma once

#include <cstdint>
#include <string>

#include "platform/PermissionRemedy.h"

// Every text of the interface in English and Polish, in the language stored at the
// moment of the call.
namespace L10n {

std::string lang();

std::string pinActiveWindow();
std::string settings();
std::string quit();
std::string close();
std::string appName();
std::string borderColorLabel();
std::string shortcutLabel();
std::string pressShortcut();
std::string keyUnusable();
std::string languageLabel();
std::string swatchNone();

std::string unpinTitle(int64_t count);
std::string accessibilityTitle(bool granted);
std::string screenRecordingTitle(bool granted);
// What to do to be granted a permission that no settings page grants.
std::string permissionRemedy(const platform::PermissionRemedy& remedy);

}  // namespace L10n

#pragma once

#include <string>

#include "platform/Fonts.h"

// Registers the font files among the application's resources for this process.
void registerOutfitFonts();

// The Outfit font of a weight word ("Regular", "SemiBold", "Bold", "Black") at a size,
// or the semibold system font of that size when there is no such font.
platform::Font outfit(const std::string& weight, double size);

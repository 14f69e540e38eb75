#pragma once

#include <string>

#include "platform/Color.h"
#include "platform/Layer.h"
#include "platform/Window.h"

// Stable one-line descriptions of interface objects for scenario dumps.

// "#RRGGBB/alpha", e.g. "#FF0000/1.0".
std::string colorText(const platform::Color& color);
// "frame=(6.0, 6.0, 800.0, 600.0) radius=8.0 border=#000000/1.0 width=0.0 animations=[]";
// each running animation as key:keyPath(values...)/duration x repeats ("inf" forever).
std::string layerText(const platform::Layer& layer);
// "frame=(94.0, 424.0, 812.0, 612.0) level=3 visible=true"
std::string windowText(const platform::Window& window);

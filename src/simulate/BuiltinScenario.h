#pragma once

// The session that `veltrin --simulate` plays when it is given no file.
extern const char* const builtinScenario;

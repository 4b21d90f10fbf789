#pragma once

#include <string>
#include <vector>

// Every text passed to ShowError in the native tests, in order.
extern std::vector<std::string> g_shownErrors;

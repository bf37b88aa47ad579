// <windows.h> as the program's Windows files include it: without the min and max macros, which
// would break std::min and std::max, and without the parts of the API it never calls.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

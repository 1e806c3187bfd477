#pragma once

// <windows.h> for the backend, with the A/W macros the framework's own names
// would collide with taken away again. Include it before the framework's
// headers.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#undef GetWindowText
#undef SetWindowText
#undef LoadAccelerators
#undef AppendMenu
#undef GetMenuString

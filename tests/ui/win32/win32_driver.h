#pragma once

#include "tests/ui/driver.h"
#include "ui/framework/win32/win32_backend.h"

// What only the Win32 tests look at: the system's own window of a control.
namespace veltra::testing {

inline HWND hwnd(const CWnd& window)
{
    return win32::hwndOf(window);
}

}  // namespace veltra::testing

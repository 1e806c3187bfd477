// The user's input on the null backend: given to its windows as records, as
// a toolkit would deliver it.
#include <gtest/gtest.h>

#include "tests/ui/driver.h"
#include "ui/framework/null/null_backend.h"

namespace veltra::testing {

void showActive(CDialog& window)
{
    null::activate(window.GetWindowHandle());
}

void clickAt(CWnd& window, CPoint at)
{
    null::click(window.GetWindowHandle(), at);
}

void sendKeys(const KeyCombination& keys)
{
    null::press(keys);
}

void typeText(const std::string& text)
{
    null::type(text);
}

void closeWindow(CDialog& window)
{
    null::close(window.GetWindowHandle());
}

void turnWheel(CWnd& target, int notches)
{
    null::turnWheel(target.GetWindowHandle(), notches * 120);
}

bool dropFiles(CDialog&, CWnd& target, const std::vector<std::filesystem::path>& files)
{
    return null::drop(target.GetWindowHandle(), files);
}

void moveToDisplayScale(CDialog& window, int dpi)
{
    null::moveToDpi(window.GetWindowHandle(), dpi);
}

CRect placeOf(const CWnd& control)
{
    return null::placeOf(control.GetWindowHandle());
}

bool showsWholeText(const CWnd& label)
{
    return null::showsWholeText(label.GetWindowHandle());
}

bool showsScrollBar(const CWnd& window)
{
    return null::showsScrollBar(window.GetWindowHandle());
}

}  // namespace veltra::testing

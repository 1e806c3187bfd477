// The user's composite actions, over the driver's primitives: the same on
// every backend.
#include <gtest/gtest.h>

#include "tests/ui/driver.h"

namespace veltra::testing {

namespace {

CPoint middleOf(const CRect& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

void click(CWnd& control)
{
    clickAt(control, middleOf(control.GetClientRect()));
}

void clickTab(CTabCtrl& tabs, int index)
{
    const CRect caption = tabs.GetItemRect(index);
    ASSERT_GT(caption.Width(), 0) << "no tab " << index;
    clickAt(tabs, middleOf(caption));
}

void typeInto(CEdit& edit, const std::string& text)
{
    click(edit);
    pressKey("Ctrl+A");
    if (text.empty())
        pressKey("Delete");
    else
        typeText(text);
}

void pressKey(const std::string& keys)
{
    const std::optional<KeyCombination> parsed = parseKeys(keys);
    ASSERT_TRUE(parsed.has_value()) << "not a key: " << keys;
    sendKeys(*parsed);
}

}  // namespace veltra::testing

#include "window_fixture.h"

#include <charconv>

#include "ui/framework/text.h"

namespace veltra::testing {

namespace {

std::string colourName(const std::optional<Color>& colour)
{
    return colour ? formatText("#%02x%02x%02x", unsigned{colour->red}, unsigned{colour->green}, unsigned{colour->blue}) : "the system's";
}

template <typename Control>
Control& control(CWnd* found, int id)
{
    auto* control = dynamic_cast<Control*>(found);
    EXPECT_NE(control, nullptr) << "no such control " << id;
    return *control;
}

}  // namespace

std::map<std::string, std::string> describe(const BiosInfo& info)
{
    std::map<std::string, std::string> out{
        {"gpuClock", described(info.gpuClock.value)},
        {"boostClock", described(info.boostClock.value)},
        {"memClock", described(info.memClock.value)},
        {"powerDefault", std::to_string(info.powerDefault.value)},
        {"powerMax", std::to_string(info.powerMax.value)},
        {"powerLimitLo", std::to_string(info.powerLimitLo.value)},
        {"powerLimitHi", std::to_string(info.powerLimitHi.value)},
        {"fanMin", std::to_string(info.fanMin.value)},
        {"fanMax", std::to_string(info.fanMax.value)},
        {"vendorId", std::to_string(info.vendorId)},
        {"deviceId", std::to_string(info.deviceId)},
        {"checksumStored", std::to_string(info.checksumStored)},
        {"checksumComputed", std::to_string(info.checksumComputed)},
        {"versionText", info.versionText.shown()},
        {"boardText", info.boardText.shown()},
        {"dateText", info.dateText.shown()},
    };
    for (std::size_t k = 0; k < boostEntryCount; ++k)
        out["boostTable[" + std::to_string(k) + "]"] = described(info.boostTable[k].value);
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        out["voltage[" + std::to_string(slot) + "]"] = std::to_string(info.voltage[slot].value);
    return out;
}

std::string described(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9).ptr;
    return std::string(text, end);
}

std::string twoDecimals(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

WindowTest::WindowTest()
{
    dlg.Create();
    showActive(dlg);
}

CEdit& WindowTest::edit(int id) const
{
    return control<CEdit>(dlg.GetDlgItem(id), id);
}

CEdit& WindowTest::pageEdit(int tab, int id) const
{
    return control<CEdit>(dlg.Page(tab).GetDlgItem(id), id);
}

CButton& WindowTest::button(int id) const
{
    return control<CButton>(dlg.GetDlgItem(id), id);
}

CTabCtrl& WindowTest::tabs() const
{
    return control<CTabCtrl>(dlg.GetDlgItem(res::tabControlId), res::tabControlId);
}

CColorEdit& WindowTest::checksum() const
{
    return control<CColorEdit>(dlg.GetDlgItem(res::checksumEditId), res::checksumEditId);
}

int WindowTest::visiblePage() const
{
    int visible = -1;
    for (int i = 0; i < 5; ++i) {
        if (!dlg.Page(i).IsWindowVisible())
            continue;
        if (visible != -1)
            return -1;
        visible = i;
    }
    return visible;
}

void WindowTest::selectTab(int tab)
{
    clickTab(tabs(), tab);
}

void WindowTest::typeInto(int tab, int id, const std::string& text)
{
    if (tabs().GetCurSel() != tab)
        selectTab(tab);
    CEdit& target = pageEdit(tab, id);
    testing::typeInto(target, text);
    EXPECT_EQ(CWnd::GetFocus(), &target) << id;
}

void WindowTest::clickButton(int id)
{
    click(button(id));
}

void WindowTest::press(const std::string& keys)
{
    pressKey(keys);
}

void WindowTest::closeWindow()
{
    testing::closeWindow(dlg);
}

std::filesystem::path WindowTest::writeImage(const std::string& name, const ImageSpec& spec) const
{
    return dir.write(name, buildImage(spec));
}

void WindowTest::open(const std::filesystem::path& path)
{
    prompts.openAnswers.push_back(path);
    dlg.OnOpenBios();
}

void WindowTest::saveAs(const std::filesystem::path& path)
{
    prompts.saveAnswers.push_back(path);
    dlg.OnSaveBiosAs();
}

std::map<std::string, std::string> WindowTest::visibleState() const
{
    std::map<std::string, std::string> state;
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId})
        state["field " + std::to_string(id)] = edit(id).GetWindowText();
    state["checksum colour"] = colourName(checksum().BackColor());
    for (int id : {res::openBiosButtonId, res::saveBiosButtonId, res::saveBiosAsButtonId})
        state["button " + std::to_string(id)] = button(id).IsWindowEnabled() ? "enabled" : "disabled";
    const auto* picture = dynamic_cast<CStatic*>(dlg.GetDlgItem(res::pictureId));
    state["picture"] = picture && picture->GetBitmap() ? "shown" : "blank";
    state["selected tab"] = std::to_string(tabs().GetCurSel());
    state["visible page"] = std::to_string(visiblePage());
    for (int tab = 0; tab < 5; ++tab)
        for (const CWnd* child : dlg.Page(tab).Children())
            if (dynamic_cast<const CEdit*>(child))
                state["page " + std::to_string(tab) + " edit " + std::to_string(child->GetDlgCtrlID())] =
                    child->GetWindowText();
    state["file path"] = pathText(dlg.FilePath());
    return state;
}

}  // namespace veltra::testing

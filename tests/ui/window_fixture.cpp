#include "window_fixture.h"

#include <QApplication>
#include <QPixmap>
#include <QWindow>

namespace veltra::testing {

namespace {

std::string number(double value)
{
    return QString::number(value, 'g', 9).toStdString();
}

std::string colourName(const QColor& colour)
{
    return colour.name().toStdString();
}

}  // namespace

std::map<std::string, std::string> describe(const BiosInfo& info)
{
    std::map<std::string, std::string> out{
        {"gpuClock", number(info.gpuClock.value)},
        {"boostClock", number(info.boostClock.value)},
        {"memClock", number(info.memClock.value)},
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
        out["boostTable[" + std::to_string(k) + "]"] = number(info.boostTable[k].value);
    for (std::size_t slot = 0; slot < voltageSlotCount; ++slot)
        out["voltage[" + std::to_string(slot) + "]"] = std::to_string(info.voltage[slot].value);
    return out;
}

WindowTest::WindowTest()
{
    dlg.Create();
    dlg.show();
    dlg.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
}

QLineEdit& WindowTest::edit(int id) const
{
    auto* found = dynamic_cast<QLineEdit*>(dlg.GetDlgItem(id));
    EXPECT_NE(found, nullptr) << "no edit " << id;
    return *found;
}

QLineEdit& WindowTest::pageEdit(int tab, int id) const
{
    auto* found = dynamic_cast<QLineEdit*>(dlg.Page(tab).GetDlgItem(id));
    EXPECT_NE(found, nullptr) << "no edit " << id << " on page " << tab;
    return *found;
}

QPushButton& WindowTest::button(int id) const
{
    return dynamic_cast<QPushButton&>(*dlg.GetDlgItem(id));
}

CTabCtrl& WindowTest::tabs() const
{
    return dynamic_cast<CTabCtrl&>(*dlg.GetDlgItem(res::tabControlId));
}

void WindowTest::selectTab(int tab)
{
    tabs().TabBar().setCurrentIndex(tab);
}

int WindowTest::visiblePage() const
{
    int visible = -1;
    for (int i = 0; i < 5; ++i) {
        if (!dlg.Page(i).isVisible())
            continue;
        if (visible != -1)
            return -1;
        visible = i;
    }
    return visible;
}

void WindowTest::clickTab(int tab)
{
    QTabBar& bar = tabs().TabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, bar.tabRect(tab).center());
}

void WindowTest::typeInto(int tab, int id, const QString& text)
{
    if (tabs().GetCurSel() != tab)
        clickTab(tab);
    QLineEdit& target = pageEdit(tab, id);
    QTest::mouseClick(&target, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), &target) << id;
    QTest::keyClick(&target, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(&target, Qt::Key_Delete);
    else
        QTest::keyClicks(&target, text);
}

void WindowTest::clickButton(int id)
{
    QTest::mouseClick(&button(id), Qt::LeftButton);
}

void WindowTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : static_cast<QWidget*>(&dlg), key, modifiers);
}

void WindowTest::rightClick(QWidget& widget, QPoint at)
{
    QWindow* window = widget.window()->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, window->mapFromGlobal(widget.mapToGlobal(at)));
}

void WindowTest::closeWindow()
{
    dlg.windowHandle()->close();
}

std::filesystem::path WindowTest::writeImage(const std::string& name, const ImageSpec& spec) const
{
    return dir.write(name, buildImage(spec));
}

void WindowTest::open(const std::filesystem::path& path)
{
    prompts.openAnswers.push_back(qpath(path));
    dlg.OnOpenBios();
}

void WindowTest::saveAs(const std::filesystem::path& path)
{
    prompts.saveAnswers.push_back(qpath(path));
    dlg.OnSaveBiosAs();
}

std::map<std::string, std::string> WindowTest::visibleState() const
{
    std::map<std::string, std::string> state;
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::fileNameEditId,
                   res::deviceIdEditId, res::checksumEditId})
        state["field " + std::to_string(id)] = edit(id).text().toStdString();
    const QLineEdit& checksum = edit(res::checksumEditId);
    state["checksum colour"] = colourName(checksum.palette().color(QPalette::Base));
    state["checksum text colour"] = colourName(checksum.palette().color(QPalette::Text));
    for (int id : {res::openBiosButtonId, res::saveBiosButtonId, res::saveBiosAsButtonId})
        state["button " + std::to_string(id)] = button(id).isEnabled() ? "enabled" : "disabled";
    const auto* picture = dynamic_cast<QLabel*>(dlg.GetDlgItem(res::pictureId));
    state["picture"] = picture->pixmap().isNull() ? "blank" : "shown";
    state["selected tab"] = std::to_string(tabs().GetCurSel());
    state["visible page"] = std::to_string(visiblePage());
    for (int tab = 0; tab < 5; ++tab)
        for (QLineEdit* e : dlg.Page(tab).findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            state["page " + std::to_string(tab) + " edit " + e->accessibleName().toStdString()] =
                e->text().toStdString();
    state["file path"] = dlg.FilePath().toStdString();
    return state;
}

}  // namespace veltra::testing

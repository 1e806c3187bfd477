#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>

#include "tests/ui/qt/qt_driver.h"
#include "tests/ui/window_fixture.h"
#include "ui/about_dlg.h"
#include "ui/framework/qt/qt_backend.h"
#include "ui/res/strings.h"

// How the window is laid out and named on Qt: the grid, the pages' place,
// text that fits, accessible names, the menu a right click opens and the
// About box.
namespace veltra::testing {
namespace {

using qt::widgetOf;

TEST_F(WindowTest, EveryEditAndButtonHasAnAccessibleName)
{
    const std::vector<std::pair<int, const char*>> main = {
        {res::nameEditId, "Name"},          {res::boardEditId, "Board"},
        {res::dateEditId, "Date"},          {res::versionEditId, "Version"},
        {res::fileNameEditId, "Filename"},  {res::deviceIdEditId, "Device ID"},
        {res::checksumEditId, "Checksum"},  {res::openBiosButtonId, "Open BIOS"},
        {res::saveBiosButtonId, "Save BIOS"}, {res::saveBiosAsButtonId, "Save BIOS As"},
    };
    for (const auto& [id, name] : main)
        EXPECT_EQ(widget(*dlg.GetDlgItem(id)).accessibleName(), name) << id;

    const std::vector<std::tuple<int, int, const char*>> pages = {
        {frequencyTab, res::gpuClockEditId, "GPU Default Frequency"},
        {frequencyTab, res::boostClockEditId, "GPU Boost Frequency"},
        {frequencyTab, res::memClockEditId, "Memory Frequency"},
        {powerTab, res::powerDefaultEditId, "Default Power"},
        {powerTab, res::powerMaxEditId, "Max Power"},
        {powerTab, res::powerLimitLoEditId, "Power Limit Lo"},
        {powerTab, res::powerLimitHiEditId, "Power Limit Hi"},
        {fanTab, res::fanMinEditId, "Minimum"},
        {fanTab, res::fanMaxEditId, "Maximum"},
        {voltageTab, res::voltageEditId, "Max Voltage"},
    };
    for (const auto& [tab, id, name] : pages)
        EXPECT_EQ(lineEdit(pageEdit(tab, id)).accessibleName(), name) << tab << " " << id;
    for (int k = 0; k < 45; ++k)
        EXPECT_EQ(lineEdit(pageEdit(boostTab, res::firstBoostEditId + k)).accessibleName(),
                  QString::asprintf("Boost %02d", k + 1));
}

TEST_F(WindowTest, BoostGridHasFortyFiveCaptionedEditsInPagePixelsWithoutTabStops)
{
    QWidget& page = widget(dlg.Page(boostTab));
    const auto labels = page.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 45);
    for (int k = 0; k < 45; ++k) {
        const int x = 20 + 75 * (k % 5);
        const int y = 28 + 21 * (k / 5);
        QLineEdit& cell = lineEdit(pageEdit(boostTab, res::firstBoostEditId + k));
        EXPECT_EQ(cell.geometry(), QRect(x + 5, y - 18, 50, 18)) << k;
        EXPECT_FALSE(cell.focusPolicy() & Qt::TabFocus) << k;
        EXPECT_EQ(cell.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        const QLabel* caption = labels[k];
        EXPECT_EQ(caption->text(), QString::asprintf("%02d", k + 1));
        EXPECT_EQ(caption->geometry(), QRect(x - 15, y - 16, 15, 16)) << k;
        EXPECT_EQ(caption->buddy(), &cell);
    }
    // A reader meets each caption just before its value.
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&page);
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->childCount(), 90);
    for (int k = 0; k < 45; ++k) {
        EXPECT_EQ(reader->child(2 * k)->text(QAccessible::Name), QString::asprintf("%02d", k + 1)) << k;
        EXPECT_EQ(reader->child(2 * k + 1)->object(), &lineEdit(pageEdit(boostTab, res::firstBoostEditId + k))) << k;
    }
    // Fifth cell of the first row, and the last cell.
    EXPECT_EQ(labels[4]->text(), "05");
    EXPECT_EQ(labels[4]->buddy(), &widget(*dlg.Page(boostTab).GetDlgItem(12349)));
    EXPECT_EQ(labels[44]->geometry(), QRect(QPoint(305, 180), QPoint(319, 195)));
    EXPECT_EQ(widget(*dlg.Page(boostTab).GetDlgItem(12389)).geometry(), QRect(QPoint(325, 178), QPoint(374, 195)));
}

TEST_F(WindowTest, PagesFillTheTabControlBelowItsTabs)
{
    const QRect client = widget(tabs()).rect();
    for (int tab = 0; tab < 5; ++tab) {
        EXPECT_EQ(widget(dlg.Page(tab)).parentWidget(), &widget(tabs()));
        EXPECT_EQ(widget(dlg.Page(tab)).geometry(), QRect(3, 23, client.width() - 8, client.height() - 27)) << tab;
    }
    EXPECT_EQ(tabs().GetItemCount(), 5);
    for (int tab = 0; tab < 5; ++tab)
        EXPECT_EQ(tabs().GetItemText(tab), res::tabCaptions[tab]);
}

// True when `edit` shows all of its text: the text is no wider than the
// edit's contents less its text margins and the 2-pixel margin the edit keeps
// on either side.
bool showsWholeText(const QLineEdit& edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    const int available = contents.width() - margins.left() - margins.right() - 4;
    return edit.fontMetrics().horizontalAdvance(edit.text()) <= available;
}

TEST_F(WindowTest, NoCaptionLabelOrValueIsClipped)
{
    ImageSpec spec;
    spec.board = BoardModel::Gtx660Ti;  // the longest name
    for (auto& word : spec.boostTableWords)
        word = 3998;  // 1999.00, the widest value that passes
    spec.boardText = "WWWWWWWWWWWWWWWWWWWWWW";
    spec.versionText = "88.88.88.88.88";
    open(writeImage("wide_name_for_the_filename_field.rom", spec));
    std::vector<QWidget*> parents{&widget(dlg)};
    for (int tab = 0; tab < 5; ++tab)
        parents.push_back(&widget(dlg.Page(tab)));
    CAboutDlg about(&dlg);
    about.Create();
    parents.push_back(&widget(about));

    for (QWidget* parent : parents) {
        for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->text().isEmpty())
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
            // A widened label still ends before the control beside it.
            for (QLineEdit* other : parent->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
                EXPECT_FALSE(label->geometry().intersects(other->geometry())) << label->text().toStdString();
            }
        }
        for (QPushButton* button : parent->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), contents.width())
                << button->text().toStdString();
        }
    }
    for (int tab = 0; tab < 5; ++tab)
        for (QLineEdit* value : widget(dlg.Page(tab)).findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(showsWholeText(*value)) << value->accessibleName().toStdString() << ": "
                                                << value->text().toStdString();
    for (int id : {res::nameEditId, res::boardEditId, res::dateEditId, res::versionEditId, res::deviceIdEditId,
                   res::checksumEditId})
        EXPECT_TRUE(showsWholeText(lineEdit(edit(id)))) << edit(id).GetWindowText();
    EXPECT_GE(qt::tabBarOf(tabs())->width(), qt::tabBarOf(tabs())->sizeHint().width());
}

// A right click anywhere but in an edit, pages included, opens the menu with
// the About item; an edit keeps its own menu.
TEST_F(WindowTest, ARightClickOutsideTheEditsOpensTheMenuWithTheAboutItem)
{
    QMenu* menu = qt::menuOf(*dlg.GetSystemMenu());
    ASSERT_NE(menu, nullptr);
    const auto closePopup = [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    };
    struct Target {
        const char* name;
        int tab;  // the tab to show first
        QWidget* widget;
        QPoint at;
    };
    std::vector<Target> targets = {
        {"group box", frequencyTab, widget(dlg).findChild<QGroupBox*>(), QPoint(3, 3)},
        {"picture", frequencyTab, &widget(*dlg.GetDlgItem(res::pictureId)), QPoint(5, 5)},
        {"Open BIOS", frequencyTab, &widget(button(res::openBiosButtonId)), QPoint(5, 5)},
        {"tabs", frequencyTab, qt::tabBarOf(tabs()), QPoint(5, 5)},
        {"window", frequencyTab, &widget(dlg), QPoint(2, 2)},
        {"Boost caption", boostTab, widget(dlg.Page(boostTab)).findChild<QLabel*>(), QPoint(3, 3)},
    };
    for (int tab = 0; tab < 5; ++tab)
        targets.push_back({res::tabCaptions[tab], tab, &widget(dlg.Page(tab)), QPoint(2, 2)});
    for (QLabel* label : widget(dlg).findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        targets.push_back({"label", frequencyTab, label, QPoint(2, 2)});
    for (const Target& target : targets) {
        SCOPED_TRACE(target.name);
        ASSERT_NE(target.widget, nullptr);
        selectTab(target.tab);
        rightClick(*target.widget, target.at);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), menu);
        closePopup();
    }

    for (QWidget* value : {&widget(edit(res::nameEditId)), &widget(pageEdit(frequencyTab, res::gpuClockEditId))}) {
        selectTab(frequencyTab);
        rightClick(*value, QPoint(5, 5));
        EXPECT_FALSE(menu->isVisible());
        EXPECT_NE(QApplication::activePopupWidget(), nullptr);
        closePopup();
    }

    rightClick(widget(dlg.Page(frequencyTab)), QPoint(2, 2));
    QAction* about = menu->actions().back();
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(about).center());
    EXPECT_EQ(prompts.modalTitles, (std::vector<std::string>{"About Veltra"}));
}

// F1 opens the About box over the window that owns it, centred on it; its
// OK ends it. Its icon is drawn for the screen's pixels, not scaled from a
// bitmap.
TEST_F(WindowTest, AboutBoxIsOwnedByTheWindowCentredOnItAndShowsIconNameVersionAndOk)
{
    QWidget& main = widget(dlg);
    main.move(40, 30);
    bool ran = false;
    prompts.whenModal = [&](CDialog& dialog) {
        ran = true;
        QWidget& about = widget(dialog);
        about.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&about));
        EXPECT_EQ(about.parentWidget(), &main);
        EXPECT_TRUE(about.isWindow());
        const QPoint offCentre = about.frameGeometry().center() - main.frameGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();

        EXPECT_EQ(about.windowTitle(), "About Veltra");
        QStringList lines;
        const QLabel* icon = nullptr;
        for (QLabel* label : about.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (!label->pixmap().isNull())
                icon = label;
            else
                lines << label->text();
        }
        EXPECT_EQ(lines, (QStringList{"Veltra, Version 1.1", "BIOS image editor"}));
        EXPECT_NE(icon, nullptr);
        if (icon) {
            const int side = std::min(icon->width(), icon->height());
            EXPECT_EQ(icon->pixmap().deviceIndependentSize().toSize(), QSize(side, side));
            EXPECT_EQ(icon->pixmap().devicePixelRatio(), icon->devicePixelRatioF());
        }
        auto* ok = widgetOf<QPushButton>(*dialog.GetDlgItem(res::okButtonId));
        EXPECT_NE(ok, nullptr);
        if (!ok)
            return commandCancel;
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
        return dialog.ModalResult();
    };
    press("F1");
    EXPECT_TRUE(ran);
    EXPECT_EQ(prompts.modalTitles, (std::vector<std::string>{"About Veltra"}));
}

}  // namespace
}  // namespace veltra::testing

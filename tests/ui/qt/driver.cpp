// The user's input through Qt's own paths: QTest's mouse and keys, and drops
// delivered to the window as the platform delivers them.
#include "tests/ui/qt/qt_driver.h"

#include <QApplication>
#include <QLabel>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "ui/framework/backend.h"
#include "ui/framework/qt/qt_backend.h"

namespace veltra::testing {

void showActive(CDialog& window)
{
    QWidget& shown = widget(window);
    shown.show();
    shown.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
}

void clickAt(CWnd& window, CPoint at)
{
    // Through the window, as the platform delivers a click: to whatever
    // shows at that point.
    QWidget& target = widget(window);
    QWindow* frame = target.window()->windowHandle();
    ASSERT_NE(frame, nullptr);
    QTest::mouseClick(frame, Qt::LeftButton, Qt::NoModifier,
                      frame->mapFromGlobal(target.mapToGlobal(QPoint(at.x, at.y))));
}

void sendKeys(const KeyCombination& keys)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        focus = QApplication::activeWindow();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, qt::qtKeyOf(keys.key), qt::qtModifiersOf(keys));
}

void typeText(const std::string& text)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << text;
    QTest::keyClicks(focus, QString::fromStdString(text));
}

void closeWindow(CDialog& window)
{
    widget(window).windowHandle()->close();
}

void turnWheel(CWnd& target, int notches)
{
    QWidget& over = widget(target);
    const QPointF at = over.rect().center();
    QWheelEvent wheel(at, over.mapToGlobal(at), QPoint(), QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As the platform's: a widget that does not use the wheel passes it to
    // its parent. (sendEvent would make it the program's own event.)
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(&over, &wheel);
}

CRect placeOf(const CWnd& control)
{
    const QRect place = widget(control).geometry();
    return {place.left(), place.top(), place.left() + place.width(), place.top() + place.height()};
}

bool showsWholeText(const CWnd& label)
{
    const auto* text = qt::widgetOf<QLabel>(label);
    if (!text)
        return false;
    const int wrap = text->wordWrap() ? Qt::TextWordWrap : 0;
    const QRect needed =
        text->fontMetrics().boundingRect(QRect(0, 0, text->width(), 1000), Qt::AlignLeft | wrap, text->text());
    return needed.width() <= text->width() && needed.height() <= text->height();
}

bool showsScrollBar(const CWnd& window)
{
    for (const QScrollBar* bar : widget(window).findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        if (bar->orientation() == Qt::Vertical && bar->isVisible())
            return true;
    return false;
}

bool dropFiles(CDialog& window, CWnd& target, const std::vector<std::filesystem::path>& files)
{
    QList<QUrl> urls;
    for (const std::filesystem::path& file : files)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    return dropUrls(window, target, urls);
}

bool dropUrls(CDialog& window, CWnd& target, const QList<QUrl>& urls, std::optional<QPoint> where)
{
    QMimeData data;
    data.setUrls(urls);
    data.setText(urls.isEmpty() ? QString() : urls.front().toString());
    QWindow* frame = widget(window).windowHandle();
    QWidget& over = widget(target);
    const QPointF at = frame->mapFromGlobal(over.mapToGlobal(where.value_or(over.rect().center())));
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(frame, &leave);
        return false;
    }
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &dropped);
    return dropped.isAccepted();
}

// Qt scales a window to its screen itself and tells it nothing; the window's
// own layout hears of the move all the same.
void moveToDisplayScale(CDialog& window, int)
{
    WindowEvents::Report(window.GetWindowHandle(), event::DpiChanged{});
    QApplication::processEvents();
}

void rightClick(QWidget& widget, QPoint at)
{
    QWindow* window = widget.window()->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, window->mapFromGlobal(widget.mapToGlobal(at)));
}

}  // namespace veltra::testing

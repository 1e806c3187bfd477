#pragma once

// The Qt widgets behind the framework, for what only Qt can tell: tests of
// widget details (geometry, accessibility, Qt's own key path), their driver
// and the benchmark against stock Qt. The window's code never includes this.

#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QTabBar>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "../keys.h"
#include "../menu.h"
#include "../prompts.h"
#include "../tab_control.h"
#include "../types.h"

class QMenu;

namespace veltra::qt {

QWidget* widgetOf(WindowHandle window);
WindowHandle handleOf(const QWidget* widget);

// The widget of `window` as a W; null when it is none.
template <typename W = QWidget>
W* widgetOf(const CWnd& window)
{
    return dynamic_cast<W*>(widgetOf(window.GetWindowHandle()));
}

QMenu* menuOf(const CMenu& menu);
QTabBar* tabBarOf(const CTabCtrl& tabs);

// The program's image `imageId` drawn at `size` (its own when empty) for
// `ratio` device pixels per pixel; a null pixmap for an unknown id.
QPixmap loadImage(int imageId, QSize size, qreal ratio);

// The boxes and file dialogs the real prompts show, made ready but not run.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& text);
std::unique_ptr<QMessageBox> makeQuestionBox(QWidget* owner, const QString& question);
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const FileQuestion& question);

// A local file name as the file system spells it.
std::filesystem::path filePath(const QString& localFile);

// A key as Qt names it, for the tests' driver: the key and the modifiers
// QTest presses; Qt::Key_unknown for Key::None.
Qt::Key qtKeyOf(Key key);
Qt::KeyboardModifiers qtModifiersOf(const KeyCombination& keys);

}  // namespace veltra::qt

#pragma once

// The widgets the backend makes for the framework's windows, one factory
// for each ControlKind. They report what the user does through
// WindowEvents (events.cpp) and decide nothing themselves.

#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
#include <string>

#include "../control_kinds.h"
#include "../types.h"

class QMenu;

namespace veltra::qt {

// A dialog: a window of its own, or a borderless page inside another.
class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* parent, Qt::WindowFlags flags);

    // Made on first use; choosing an item is reported.
    QMenu& systemMenu();

    // The close button: reported.
    void reject() override;

protected:
    // The framework has had every key first: Qt's own dialog keys do not
    // apply.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_systemMenu = nullptr;
};

// A single-line edit, coloured as its object asks.
class EditWidget : public QLineEdit {
public:
    explicit EditWidget(QWidget* parent) : QLineEdit(parent) {}

    // A one-pixel border instead of the style's frame: a control made at run
    // time is often small and must still show its whole text.
    void useThinBorder();
    // Asks the attached object for colours and applies them.
    void applyColors();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_thinBorder = false;
    bool m_coloured = false;
};

// A row of tabs over a framed pane. The pages are ordinary children placed by
// the owner; the tabs stay above them.
class TabWidget : public QWidget {
public:
    explicit TabWidget(QWidget* parent);

    QTabBar& bar() { return *m_bar; }
    // Without reporting, as the program's own changes are.
    int insertTab(int index, const QString& text);
    void setCurrent(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void layoutBar();

    QTabBar* m_bar = nullptr;
};

// A control as its template or the program asks for it, placed in pixels.
struct PlacedControl {
    ControlKind kind;
    QString text;
    int imageId;
    QRect rect;  // parent pixels
    int id;
};

// The visible, tracked control of `placed.kind` in `parent`, made by that
// kind's factory.
QWidget* makeControl(const PlacedControl& placed, QWidget& parent);

// The width of the scroll bar `window` shows at its right edge; 0 for none.
int scrollBarWidth(const QWidget& window);

}  // namespace veltra::qt

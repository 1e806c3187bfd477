#pragma once

// The widgets the backend makes for the framework's windows. Each reports
// what the user does through WindowEvents, to whatever object is attached.

#include <QDialog>
#include <QLineEdit>
#include <QTabBar>

class QMenu;

namespace veltra::qt {

// A dialog: a window of its own, or a borderless page inside another.
class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget* parent, Qt::WindowFlags flags);

    // Files dropped on the dialog or any edit in it reach WindowEvents.
    void acceptFileDrops(bool accept);
    // Made on first use; choosing an item is a system command.
    QMenu& systemMenu();

    // Escape and the close button: the attached dialog decides.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    // Without notifying, as the program's own changes are.
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

// The dialog `widget` lies in: its nearest DialogWidget, itself included.
DialogWidget* dialogOf(QWidget* widget);

// The width of the scroll bar `window` shows at its right edge; 0 for none.
int scrollBarWidth(const QWidget& window);

}  // namespace veltra::qt

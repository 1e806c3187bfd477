#include "widgets.h"

#include <QApplication>
#include <QChildEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include "qt_backend.h"
#include "../backend.h"

namespace veltra::qt {

namespace {

bool isEnter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

// A drag that carries files, and only files on this machine.
bool carriesLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return false;
    for (const QUrl& url : data->urls())
        if (!url.isLocalFile())
            return false;
    return true;
}

}  // namespace

DialogWidget* dialogOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* dialog = dynamic_cast<DialogWidget*>(w))
            return dialog;
    return nullptr;
}

DialogWidget::DialogWidget(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void DialogWidget::acceptFileDrops(bool accept)
{
    setAcceptDrops(accept);
    // An edit would take a dropped file as text, its path typed into a value;
    // files are the window's, wherever they are dropped.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (accept)
            edit->installEventFilter(this);
        else
            edit->removeEventFilter(this);
    }
}

QMenu& DialogWidget::systemMenu()
{
    if (!m_systemMenu)
        m_systemMenu = new QMenu(this);
    return *m_systemMenu;
}

void DialogWidget::reject()
{
    if (!WindowEvents::Cancel(handleOf(this)))
        QDialog::reject();
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    // A page is part of its owner's window: Escape and Enter belong to the owner.
    if (!isWindow()) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the button that has the focus, as Space does; in an edit
    // it does nothing, so a value is never lost to a key pressed to finish it.
    if (isEnter(*event)) {
        if (auto* button = dynamic_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // A page has no menu of its own; its owner's menu answers a right click on it.
    if (!isWindow()) {
        event->ignore();
        return;
    }
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(0, 0));
    if (WindowEvents::ContextMenu(handleOf(this), handleOf(this), CPoint{at.x(), at.y()}))
        event->accept();
    else
        QDialog::contextMenuEvent(event);
}

void DialogWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (carriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void DialogWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (carriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void DialogWidget::dropEvent(QDropEvent* event)
{
    if (!carriesLocalFiles(event->mimeData()))
        return;
    event->acceptProposedAction();
    // Copied: the drag's data belongs to the drag, which may end while a
    // message box runs.
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : event->mimeData()->urls())
        files.push_back(filePath(url.toLocalFile()));
    WindowEvents::DropFiles(handleOf(this), files);
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!carriesLocalFiles(drop->mimeData()))
            break;
        if (event->type() == QEvent::Drop)
            dropEvent(drop);
        else
            drop->acceptProposedAction();
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void EditWidget::useThinBorder()
{
    setFrame(false);
    m_thinBorder = true;
}

void EditWidget::applyColors()
{
    const std::optional<ControlColors> colors = WindowEvents::Colors(handleOf(this));
    // Until an object asks for colours the style's own apply.
    if (!colors && !m_coloured)
        return;
    m_coloured = colors.has_value();
    QPalette palette = QApplication::palette(this);
    if (colors) {
        const QColor back(colors->back.red, colors->back.green, colors->back.blue);
        const QColor text(colors->text.red, colors->text.green, colors->text.blue);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setBrush(group, QPalette::Base, QBrush(back, Qt::SolidPattern));
            palette.setBrush(group, QPalette::Window, QBrush(back, Qt::SolidPattern));
            palette.setColor(group, QPalette::Text, text);
        }
    }
    setPalette(palette);
}

void EditWidget::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!m_thinBorder)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void EditWidget::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // The colours are applied again over the new palette or style.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::StyleChange)
        applyColors();
}

TabWidget::TabWidget(QWidget* parent) : QWidget(parent)
{
    m_bar = new QTabBar(this);
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    QObject::connect(m_bar, &QTabBar::currentChanged, this, [this](int) {
        if (DialogWidget* dialog = dialogOf(parentWidget()))
            WindowEvents::Notify(handleOf(dialog), backend::controlId(handleOf(this)), Notify::SelChange);
    });
}

int TabWidget::insertTab(int index, const QString& text)
{
    QSignalBlocker quiet(m_bar);
    const int at = m_bar->insertTab(index, text);
    layoutBar();
    return at;
}

void TabWidget::setCurrent(int index)
{
    QSignalBlocker quiet(m_bar);
    m_bar->setCurrentIndex(index);
}

void TabWidget::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_bar->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = m_bar->size();
    frame.tabBarRect = m_bar->geometry();
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void TabWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutBar();
}

void TabWidget::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    // Pages are placed just below the tabs; the tabs stay on top of them.
    if (event->added() && m_bar)
        m_bar->raise();
}

void TabWidget::layoutBar()
{
    const QSize hint = m_bar->sizeHint();
    m_bar->setGeometry(2, 0, std::min(hint.width(), std::max(0, width() - 4)), hint.height());
    update();
}

}  // namespace veltra::qt

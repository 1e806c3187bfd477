// The widget classes and one factory for each control kind.
#include "controls.h"

#include <QApplication>
#include <QChildEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <iterator>

#include "qt_backend.h"
#include "registry.h"
#include "../backend.h"

namespace veltra::qt {

DialogWidget::DialogWidget(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

QMenu& DialogWidget::systemMenu()
{
    if (!m_systemMenu)
        m_systemMenu = new QMenu(this);
    return *m_systemMenu;
}

void DialogWidget::reject()
{
    if (!WindowEvents::Report(handleOf(this), event::CloseAsked{}))
        QDialog::reject();
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
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
    QObject::connect(m_bar, &QTabBar::currentChanged, this,
                     [this](int) { WindowEvents::Report(handleOf(this), event::TabSelected{}); });
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

namespace {

QLabel* label(const PlacedControl& placed, QWidget& parent, Qt::Alignment align, bool wrap)
{
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignTop);
    label->setWordWrap(wrap);
    label->setText(placed.text);
    return label;
}

QWidget* lineLabel(const PlacedControl& placed, QWidget& parent)
{
    return label(placed, parent, Qt::AlignLeft, false);
}

QWidget* wrappedLabel(const PlacedControl& placed, QWidget& parent)
{
    return label(placed, parent, Qt::AlignLeft, true);
}

QWidget* centredLabel(const PlacedControl& placed, QWidget& parent)
{
    return label(placed, parent, Qt::AlignHCenter, false);
}

QWidget* edit(const PlacedControl& placed, QWidget& parent)
{
    auto* edit = new EditWidget(&parent);
    edit->setAlignment(Qt::AlignCenter);
    edit->setReadOnly(traitsOf(placed.kind).readOnly);
    return edit;
}

QWidget* gridEdit(const PlacedControl& placed, QWidget& parent)
{
    auto* made = static_cast<EditWidget*>(edit(placed, parent));
    made->useThinBorder();
    return made;
}

QWidget* button(const PlacedControl& placed, QWidget& parent)
{
    auto* button = new QPushButton(&parent);
    button->setText(placed.text);
    button->setAutoDefault(false);
    button->setDefault(placed.kind == ControlKind::DefPushButton);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button] { WindowEvents::Report(handleOf(button), event::Clicked{}); });
    return button;
}

QWidget* groupBox(const PlacedControl&, QWidget& parent)
{
    return new QGroupBox(&parent);
}

QWidget* picture(const PlacedControl&, QWidget& parent)
{
    auto* picture = new QLabel(&parent);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

QWidget* icon(const PlacedControl& placed, QWidget& parent)
{
    auto* icon = new QLabel(&parent);
    // Drawn at the control's size, for its screen's pixels: sharp at any
    // scale.
    const int side = std::min(placed.rect.width(), placed.rect.height());
    const QPixmap image = loadImage(placed.imageId, QSize(side, side), icon->devicePixelRatioF());
    if (!image.isNull())
        icon->setPixmap(image);
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return icon;
}

QWidget* tabControl(const PlacedControl&, QWidget& parent)
{
    return new TabWidget(&parent);
}

QWidget* etchedLine(const PlacedControl&, QWidget& parent)
{
    auto* line = new QFrame(&parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return line;
}

using Factory = QWidget* (*)(const PlacedControl&, QWidget&);

// One for each kind, in ControlKind's order; a dialog is made by the builder.
constexpr Factory factories[] = {
    nullptr,  lineLabel, lineLabel,  wrappedLabel, centredLabel, edit,       edit,      gridEdit,
    button,   button,    groupBox,   picture,      icon,         tabControl, etchedLine,
};
static_assert(std::size(factories) == std::size(controlKinds));

Qt::FocusPolicy focusPolicyOf(ControlKind kind)
{
    const ControlTraits& traits = traitsOf(kind);
    // The tab control's bar takes the focus for it.
    if (kind == ControlKind::TabControl)
        return Qt::NoFocus;
    return traits.tabStop ? Qt::StrongFocus : traits.takesInput ? Qt::ClickFocus : Qt::NoFocus;
}

}  // namespace

QWidget* makeControl(const PlacedControl& placed, QWidget& parent)
{
    const Factory factory = factories[static_cast<std::size_t>(placed.kind)];
    if (!factory)
        return nullptr;
    QWidget* made = factory(placed, parent);
    made->setGeometry(placed.rect);
    track(*made, placed.kind, placed.id);
    made->setFocusPolicy(focusPolicyOf(placed.kind));
    made->show();
    return made;
}

}  // namespace veltra::qt

namespace veltra::backend {

WindowHandle createControl(ControlKind kind, const std::string& text, const CRect& rect, WindowHandle parent, int id)
{
    const qt::PlacedControl placed{kind, QString::fromStdString(text), 0,
                               QRect(rect.left, rect.top, rect.Width(), rect.Height()), id};
    return qt::handleOf(qt::makeControl(placed, *qt::widgetOf(parent)));
}

}  // namespace veltra::backend

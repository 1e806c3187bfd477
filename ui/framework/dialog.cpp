#include "dialog.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "controls.h"
#include "data_exchange.h"
#include "dialog_builder.h"
#include "prompts.h"

namespace veltra {

namespace {

// Command ids a button sends to end its dialog.
constexpr int okCommand = 1;
constexpr int cancelCommand = 2;

bool isEnter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate, QWidget* pParentWnd)
    : m_template(dialogTemplate), m_pParentWnd(pParentWnd)
{
    setFont(dialogFont(m_template.pointSize));
    // Measuring the font is costly and every template shares it.
    static QHash<QString, DialogUnits> measured;
    auto known = measured.constFind(font().key());
    if (known == measured.constEnd())
        known = measured.insert(font().key(), DialogUnits(font()));
    m_units = std::make_unique<DialogUnits>(*known);
}

CDialog::~CDialog() = default;

bool CDialog::Create(QWidget* parent)
{
    if (m_created)
        return true;
    m_created = true;
    const QSize size(m_units->toPixelsX(m_template.width), m_units->toPixelsY(m_template.height));
    if (parent) {
        setParent(parent, Qt::Widget);
        resize(size);
        hide();
    } else {
        // A window of its own; with an owner, Qt keeps it above the owner and
        // centres it there when it is shown.
        setParent(m_pParentWnd, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(size);
    }
    setWindowTitle(QString::fromLatin1(m_template.caption));

    for (QWidget* control : buildControls(m_template, *m_units, *this)) {
        auto* button = dynamic_cast<QPushButton*>(control);
        if (!button)
            continue;
        if (controlId(*button) == okCommand)
            QObject::connect(button, &QPushButton::clicked, this, &QDialog::accept);
        else if (controlId(*button) == cancelCommand)
            QObject::connect(button, &QPushButton::clicked, this, &QDialog::reject);
    }
    return OnInitDialog();
}

int CDialog::DoModal()
{
    Create(nullptr);
    return prompts().runModal(*this);
}

QWidget* CDialog::GetDlgItem(int id) const
{
    if (id == noControlId)
        return nullptr;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (controlId(*child) == id)
            return child;
    return nullptr;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(&dx);
    m_failedControl = dx.m_failedControl;
    return !dx.m_bFailed;
}

void CDialog::GotoDlgCtrl(QWidget* control)
{
    if (!control)
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(control))
        edit->selectAll();
}

void CDialog::LoadAccelerators(std::span<const Accelerator> accelerators)
{
    for (const Accelerator& accelerator : accelerators) {
        auto* shortcut =
            new QShortcut(QKeySequence(QString::fromLatin1(accelerator.keys), QKeySequence::PortableText), this);
        const int id = accelerator.commandId;
        QObject::connect(shortcut, &QShortcut::activated, this, [this, id] { OnCommand(id); });
    }
}

void CDialog::SubclassDlgItem(int id, QWidget& control)
{
    QWidget* placeholder = GetDlgItem(id);
    if (!placeholder || placeholder == &control)
        return;
    for (const ControlTemplate& entry : m_template.controls) {
        if (entry.id != id)
            continue;
        applyControlTemplate(control, entry, *m_units, *this);
        control.setAccessibleName(placeholder->accessibleName());
        auto* newEdit = dynamic_cast<QLineEdit*>(&control);
        if (auto* oldEdit = dynamic_cast<QLineEdit*>(placeholder); oldEdit && newEdit)
            newEdit->setText(oldEdit->text());
        control.stackUnder(placeholder);
        if (control.focusPolicy() != Qt::NoFocus)
            QWidget::setTabOrder(placeholder, &control);
        for (auto* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == placeholder)
                label->setBuddy(&control);
        delete placeholder;
        return;
    }
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnCommand(int id)
{
    if (auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(id)))
        button->click();
}

void CDialog::keyPressEvent(QKeyEvent* event)
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

void CDialog::contextMenuEvent(QContextMenuEvent* event)
{
    // A page has no menu of its own; its owner's menu answers a right click on it.
    if (!isWindow()) {
        event->ignore();
        return;
    }
    QDialog::contextMenuEvent(event);
}

}  // namespace veltra

#include "dialog.h"

#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "controls.h"
#include "data_exchange.h"
#include "dialog_builder.h"
#include "prompts.h"

namespace veltra {

namespace {

// Command ids a button sends to end its dialog.
constexpr int okCommand = 1;
constexpr int cancelCommand = 2;

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate) : m_template(dialogTemplate)
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
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowCloseButtonHint);
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

void CDialog::keyPressEvent(QKeyEvent* event)
{
    // A page is part of its owner's window: Escape and Enter belong to the owner.
    if (!isWindow()) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace veltra

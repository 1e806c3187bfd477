#include "dialog.h"

#include "backend.h"
#include "controls.h"
#include "data_exchange.h"
#include "dialog_builder.h"
#include "prompts.h"

namespace veltra {

CDialog::CDialog(const DialogTemplate& dialogTemplate, CWnd* pParentWnd)
    : m_template(dialogTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

bool CDialog::Create(CWnd* parent)
{
    if (m_hWnd)
        return true;
    const WindowHandle owner = parent ? parent->GetWindowHandle() : m_pParentWnd ? m_pParentWnd->GetWindowHandle() : WindowHandle{};
    const WindowHandle made = backend::createDialog(m_template, owner, parent != nullptr);
    if (!made)
        return false;
    Attach(made, true);
    m_units = backend::dialogUnits(m_hWnd);
    finishTemplateControls(m_hWnd, m_template);
    return OnInitDialog();
}

int CDialog::DoModal()
{
    Create(nullptr);
    return prompts().runModal(*this);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_hWnd)
        backend::endDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(&dx);
    m_failedControl = dx.m_failedControl ? dx.m_failedControl->GetWindowHandle() : WindowHandle{};
    return !dx.m_bFailed;
}

CWnd* CDialog::FailedControl() const
{
    return FromHandle(m_failedControl);
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (!control)
        return;
    control->SetFocus();
    if (auto* edit = dynamic_cast<CEdit*>(control))
        edit->SetSel(0, -1);
}

void CDialog::LoadAccelerators(std::span<const Accelerator> accelerators)
{
    m_accelerators.clear();
    for (const Accelerator& accelerator : accelerators)
        if (const std::optional<KeyCombination> keys = parseKeys(accelerator.keys))
            m_accelerators.emplace_back(*keys, accelerator.commandId);
}

void CDialog::SetIcon(int imageId)
{
    if (m_hWnd)
        backend::setIcon(m_hWnd, imageId);
}

CMenu* CDialog::GetSystemMenu()
{
    if (!m_sysMenu && m_hWnd)
        m_sysMenu = std::make_unique<CMenu>(backend::systemMenu(m_hWnd));
    return m_sysMenu.get();
}

void CDialog::SetScrollHeight(int pixels)
{
    if (m_hWnd)
        m_scroll.setContentHeight(pixels);
}

void CDialog::MapDialogRect(CRect& rect) const
{
    rect = m_units->toPixels(rect.left, rect.top, rect.Width(), rect.Height());
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnCommand(int id)
{
    if (id == commandOk)
        OnOK();
    else if (id == commandCancel)
        OnCancel();
}

void CDialog::OnOK()
{
    EndDialog(commandOk);
}

void CDialog::OnCancel()
{
    EndDialog(commandCancel);
}

}  // namespace veltra

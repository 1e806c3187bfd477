#include "data_exchange.h"

#include "dialog.h"
#include "prompts.h"
#include "text.h"

namespace veltra {

const char* const unsignedExchangeMessage = "Enter a whole number from 0 to 4294967295.";

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void CDataExchange::Fail(CWnd* control)
{
    m_bFailed = true;
    m_failedControl = control;
}

std::optional<std::uint32_t> readUnsigned32(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    if (first == last)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = first; i < last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (pDX->m_bFailed || control.GetWindowHandle())
        return;
    control.SubclassDlgItem(id, &pDX->m_dialog);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    if (pDX->m_bFailed)
        return;
    CWnd* control = pDX->m_dialog.GetDlgItem(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = control->GetWindowText();
    else
        control->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value)
{
    if (pDX->m_bFailed)
        return;
    CWnd* control = pDX->m_dialog.GetDlgItem(id);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        control->SetWindowText(formatText("%u", static_cast<unsigned>(value)));
        return;
    }
    const std::optional<std::uint32_t> read = readUnsigned32(control->GetWindowText());
    if (!read) {
        showMessage(&pDX->m_dialog, unsignedExchangeMessage);
        pDX->Fail(control);
        return;
    }
    value = *read;
}

}  // namespace veltra

// What every page does through the table of fields: show its values, read
// them back, name what the image lacks and find the edit of a value.
#include "ui/pages.h"

#include "ui/framework/data_exchange.h"
#include "ui/page_fields.h"
#include "ui/res/resource_ids.h"

namespace veltra {

CSettingPage::CSettingPage(EditGroup group, const DialogTemplate& dialogTemplate)
    : CDialog(dialogTemplate), m_group(group)
{
}

void CSettingPage::Bind(EditField field, std::string& member)
{
    m_bound.push_back({&pageFieldOf(field), &member, nullptr});
}

void CSettingPage::Bind(EditField field, std::uint32_t& member)
{
    m_bound.push_back({&pageFieldOf(field), nullptr, &member});
}

bool CSettingPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowLackingLine({});
    return true;
}

void CSettingPage::DoDataExchange(CDataExchange* pDX)
{
    for (const Bound& bound : m_bound) {
        if (!bound.present)
            continue;
        if (bound.text)
            DDX_Text(pDX, bound.field->controlId, *bound.text);
        else
            DDX_Text(pDX, bound.field->controlId, *bound.number);
    }
}

void CSettingPage::Show(const PageValues& values, const BiosInfo& info)
{
    ShowValues(values, info);
    m_shownTexts = Texts();
}

void CSettingPage::ShowValues(const PageValues& values, const BiosInfo& info)
{
    std::vector<const char*> lacking;
    for (Bound& bound : m_bound) {
        const PageField& field = *bound.field;
        bound.present = isPresent(info, field.field);
        if (bound.text)
            *bound.text = values.*field.text;
        else
            *bound.number = values.*field.number;
        CWnd* edit = GetDlgItem(field.controlId);
        if (!edit)
            continue;
        edit->EnableWindow(bound.present);
        if (!bound.present) {
            edit->SetWindowText({});
            lacking.push_back(field.name);
        }
    }
    UpdateData(false);
    if (lacking.size() == m_bound.size() && lacking.size() > 2)
        lacking = {Group() == EditGroup::Power ? res::powerValuesName : res::clocksName};
    ShowLackingLine(lackingLine(lacking));
}

bool CSettingPage::ReadValues(PageValues& values)
{
    const bool read = UpdateData(true);
    for (const Bound& bound : m_bound) {
        if (!bound.present)
            continue;
        if (bound.text)
            values.*bound.field->text = *bound.text;
        else
            values.*bound.field->number = *bound.number;
    }
    return read;
}

CWnd* CSettingPage::EditOf(EditField field, std::size_t) const
{
    const PageField& row = pageFieldOf(field);
    return row.group == m_group ? GetDlgItem(row.controlId) : nullptr;
}

void CSettingPage::ShowLackingLine(const std::string& line)
{
    if (CWnd* shown = GetDlgItem(res::lackingLineId)) {
        shown->SetWindowText(line);
        shown->ShowWindow(!line.empty());
    }
}

bool CSettingPage::IsEdited() const
{
    return !m_shownTexts.empty() && Texts() != m_shownTexts;
}

std::vector<std::string> CSettingPage::Texts() const
{
    std::vector<std::string> texts;
    for (const CWnd* child : Children())
        if (dynamic_cast<const CEdit*>(child))
            texts.push_back(child->GetWindowText());
    return texts;
}

}  // namespace veltra

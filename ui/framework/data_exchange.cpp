#include "data_exchange.h"

#include <QLineEdit>

#include "controls.h"
#include "dialog.h"
#include "prompts.h"

namespace veltra {

const char* const unsignedExchangeMessage = "Enter a whole number from 0 to 4294967295.";

namespace {

QLineEdit* editOf(CDataExchange* pDX, int id)
{
    return dynamic_cast<QLineEdit*>(pDX->m_dialog.GetDlgItem(id));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

void CDataExchange::Fail(QWidget* control)
{
    m_bFailed = true;
    m_failedControl = control;
}

std::optional<std::uint32_t> readUnsigned32(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    if (first == last)
        return std::nullopt;
    std::uint64_t value = 0;
    for (qsizetype i = first; i < last; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

void DDX_Control(CDataExchange* pDX, int id, QWidget& control)
{
    if (pDX->m_bFailed)
        return;
    pDX->m_dialog.SubclassDlgItem(id, control);
}

void DDX_Text(CDataExchange* pDX, int id, QString& value)
{
    if (pDX->m_bFailed)
        return;
    QLineEdit* edit = editOf(pDX, id);
    if (!edit)
        return;
    if (pDX->m_bSaveAndValidate)
        value = edit->text();
    else
        edit->setText(value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value)
{
    if (pDX->m_bFailed)
        return;
    QLineEdit* edit = editOf(pDX, id);
    if (!edit)
        return;
    if (!pDX->m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    const std::optional<std::uint32_t> read = readUnsigned32(edit->text());
    if (!read) {
        showMessage(&pDX->m_dialog, QString::fromLatin1(unsignedExchangeMessage));
        pDX->Fail(edit);
        return;
    }
    value = *read;
}

}  // namespace veltra

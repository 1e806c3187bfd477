#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veltra {

class CDialog;
class CWnd;

// The direction and progress of one data exchange.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // Reports that `control`'s text could not be read; later entries are skipped.
    void Fail(CWnd* control);

    CDialog& m_dialog;
    const bool m_bSaveAndValidate;  // true: controls to members
    bool m_bFailed = false;
    CWnd* m_failedControl = nullptr;
};

// Attaches `control` to the dialog's control `id` the first time it runs.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// The control's whole text, unchanged, in either direction.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// Unsigned decimal text. A text that is not one is reported, the exchange
// stops and this and later members keep their values.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value);

// Digits only, blanks around them allowed, at most 4294967295.
std::optional<std::uint32_t> readUnsigned32(const std::string& text);

// What the unsigned exchange says about text it cannot read.
extern const char* const unsignedExchangeMessage;

}  // namespace veltra

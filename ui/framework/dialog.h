#pragma once

#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "dialog_template.h"
#include "dialog_units.h"
#include "keys.h"
#include "menu.h"
#include "scroll_view.h"
#include "window.h"

namespace veltra {

class CDataExchange;

// Command ids of the buttons that end a dialog, and how it ended.
constexpr int commandOk = 1;
constexpr int commandCancel = 2;

// A dialog made from a template: modal with DoModal, or a borderless child
// with Create. Controls keep their template ids.
class CDialog : public CWnd {
public:
    // `pParentWnd` owns the dialog when it runs on its own: the dialog stays
    // above that window and opens centred on it.
    explicit CDialog(const DialogTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the window and its controls as a hidden child of `parent` (or as
    // a window of its own when parent is null) and runs OnInitDialog.
    bool Create(CWnd* parent = nullptr);
    // Creates the window if needed and runs it modally through the prompts;
    // returns how it ended.
    int DoModal();
    // Ends the dialog, modal or not, with `result`.
    void EndDialog(int result);
    // The result of the last EndDialog; 0 before.
    int ModalResult() const { return m_nModalResult; }

    // Runs DoDataExchange; false when a value could not be read.
    bool UpdateData(bool saveAndValidate = true);
    // The control whose text the last UpdateData could not read; null when
    // it completed.
    CWnd* FailedControl() const;
    // Moves the keyboard focus to `control`; an edit's whole text is selected,
    // so typing replaces it.
    void GotoDlgCtrl(CWnd* control);
    // Keys that run OnCommand while this dialog's window is active, in place
    // of any loaded before; a key text parseKeys cannot read is left out. A
    // key whose command is a disabled control's does nothing.
    void LoadAccelerators(std::span<const Accelerator> accelerators);
    // The program's image `imageId` as the window's icon.
    void SetIcon(int imageId);
    // The window's menu: the system's on a frame that has one, and the one
    // the window opens on a right click.
    CMenu* GetSystemMenu();

    // The dialog's content is `pixels` tall, from the top of its window.
    // When that is taller than the window, a vertical scroll bar at its
    // right edge scrolls the controls, as the mouse wheel does, and a control
    // that takes the keyboard focus is scrolled whole into view; a height
    // that fits, 0 included, takes the bar away. Each call scrolls back to
    // the top, so controls are placed in the unscrolled window's pixels
    // between a SetScrollHeight(0) and the next call.
    void SetScrollHeight(int pixels);

    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(CRect& rect) const;
    const DialogTemplate& Template() const { return m_template; }
    // Valid once the window exists.
    const DialogUnits& Units() const { return *m_units; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // The base runs the exchange towards the controls.
    virtual bool OnInitDialog();
    // The OK and Cancel commands end the dialog.
    void OnCommand(int id) override;
    virtual void OnOK();
    // Also Escape and the frame's close button.
    virtual void OnCancel();

private:
    friend class WindowEvents;
    friend struct InputRules;

    const DialogTemplate& m_template;
    CWnd* m_pParentWnd;
    std::optional<DialogUnits> m_units;
    std::vector<std::pair<KeyCombination, int>> m_accelerators;
    ScrollView m_scroll{*this};
    std::unique_ptr<CMenu> m_sysMenu;
    WindowHandle m_failedControl;
    int m_nModalResult = 0;
};

}  // namespace veltra

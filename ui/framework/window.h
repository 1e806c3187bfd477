#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "types.h"

namespace veltra {

// A window or control of the toolkit, seen through the object attached to it.
// The toolkit's window belongs to its parent window and goes with it; the
// object is the one its events are reported to. One made by Create ends its
// window when it is destroyed; one attached to a window of a template
// (SubclassDlgItem) only lets go of it.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The toolkit's window behind this object; empty before it has one.
    WindowHandle GetWindowHandle() const { return m_hWnd; }
    // The object attached to `window`; when none is, one of the window's
    // kind is made and lives as long as the window. Null for no window.
    static CWnd* FromHandle(WindowHandle window);
    // The window that has the keyboard focus; null when none of ours has.
    static CWnd* GetFocus();

    // Attaches this object to the parent's control `id`, which a template
    // made, so that its events reach this object.
    bool SubclassDlgItem(int id, CWnd* parent);

    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    // The child control with this id; null when there is none.
    CWnd* GetDlgItem(int id) const;
    // The child controls in the order they were made, which is the tab order.
    std::vector<CWnd*> Children() const;

    // Texts are UTF-8: a dialog's caption, a control's text.
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    void EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    void ShowWindow(bool show);
    // Shown, and so are the windows it lies in.
    bool IsWindowVisible() const;
    void SetFocus();
    CRect GetClientRect() const;
    // A length given in pixels at 96 dpi, in this window's pixels at the
    // display scale it is shown at, rounded to the nearest pixel.
    int ScaleForDpi(int pixelsAt96) const;
    // Places the window at `rect`, in its parent's pixels.
    void MoveWindow(const CRect& rect);
    // Paints the window again; a control asks CtlColor anew.
    void Invalidate();
    // What a screen reader calls the control; `label`, when given, is the
    // text that stands for it on the screen.
    void SetAccessibleName(const std::string& name, CWnd* label = nullptr);
    // Local files dragged anywhere on the window, its edits included, reach
    // OnDropFiles and are never typed into an edit; any other drag is left to
    // the control under it.
    void DragAcceptFiles(bool accept = true);
    bool AcceptsFiles() const { return m_acceptsFiles; }

protected:
    // A window menu item the user chose; the low four bits of `nID` are the
    // system's own.
    virtual void OnSysCommand(unsigned nID, long long lParam);
    // A command: a button of this window clicked, or an accelerator.
    virtual void OnCommand(int id);
    // A notification from the child control `id`.
    virtual void OnNotify(int id, Notify code);
    // A right click, or the menu key, at `point` in screen pixels on `pWnd`,
    // this window or one of its controls. Edits keep their own menu.
    virtual void OnContextMenu(CWnd* pWnd, CPoint point);
    virtual void OnDropFiles(const std::vector<std::filesystem::path>& files);
    // The colours to paint this control in; nothing for the system's own.
    virtual std::optional<ControlColors> CtlColor();
    // The window shows at another display scale: lengths in pixels are
    // worth another ScaleForDpi.
    virtual void OnDpiChanged();

    // Makes this object the one `window` reports to; `owns`: the window ends
    // with this object.
    void Attach(WindowHandle window, bool owns);
    void Detach();

    WindowHandle m_hWnd;

private:
    friend class WindowEvents;
    friend struct InputRules;

    bool m_ownsWindow = false;
    bool m_madeByFromHandle = false;
    bool m_acceptsFiles = false;
};

}  // namespace veltra

// From the toolkit's windows to the objects attached to them: the object
// FromHandle makes for a window that has none, and what each event means.
#include "window_events.h"

#include "backend.h"
#include "controls.h"
#include "dialog.h"
#include "dialog_builder.h"
#include "input.h"
#include "tab_control.h"
#include "window_tree.h"

namespace veltra {

namespace {

// Menu commands from here on are the system's own (move, size, close...).
constexpr unsigned firstSystemCommand = 0xF000;

// The object FromHandle makes for a window that has none: the class of its
// kind, so that a caller can tell an edit from a button.
std::unique_ptr<CWnd> objectOfClass(ControlClass kind)
{
    switch (kind) {
    case ControlClass::Edit:
        return std::make_unique<CEdit>();
    case ControlClass::Static:
        return std::make_unique<CStatic>();
    case ControlClass::Button:
        return std::make_unique<CButton>();
    case ControlClass::TabControl:
        return std::make_unique<CTabCtrl>();
    case ControlClass::Dialog:
    case ControlClass::Window:
        break;
    }
    return std::make_unique<CWnd>();
}

// The window that takes files dropped on `window`: the nearest that accepts
// them, up to its window of its own.
CWnd* fileTaker(WindowHandle window)
{
    for (; window; window = backend::isTopLevel(window) ? WindowHandle{} : backend::parent(window))
        if (CWnd* object = backend::object(window); object && object->AcceptsFiles())
            return object;
    return nullptr;
}

}  // namespace

CWnd* CWnd::FromHandle(WindowHandle window)
{
    if (!window)
        return nullptr;
    if (CWnd* attached = backend::object(window))
        return attached;
    std::unique_ptr<CWnd> made = objectOfClass(classOf(window));
    made->Attach(window, false);
    // It ends with the window: event::Destroyed.
    made->m_madeByFromHandle = true;
    return made.release();
}

std::optional<ControlColors> WindowEvents::Colors(WindowHandle control)
{
    CWnd* object = backend::object(control);
    return object ? object->CtlColor() : std::nullopt;
}

bool WindowEvents::Report(WindowHandle window, const WindowEvent& happened)
{
    struct Meaning {
        WindowHandle window;

        bool operator()(const event::KeyPressed& e) const { return InputRules::keyPressed(window, e.keys); }
        bool operator()(const event::ContextMenuAsked& e) const { return InputRules::contextMenu(window, e.at); }
        bool operator()(const event::WheelTurned& e) const { return InputRules::wheel(window, e.delta); }

        bool operator()(const event::FocusTaken&) const
        {
            InputRules::focusTaken(window);
            return false;
        }

        // A button's click is a command of the dialog it lies in.
        bool operator()(const event::Clicked&) const
        {
            if (classOf(window) != ControlClass::Button)
                return false;
            if (CWnd* dialog = dialogHolding(window))
                dialog->OnCommand(backend::controlId(window));
            return true;
        }

        bool operator()(const event::TabSelected&) const
        {
            if (CWnd* dialog = dialogHolding(window))
                dialog->OnNotify(backend::controlId(window), Notify::SelChange);
            return true;
        }

        // The system's own commands keep their meaning.
        bool operator()(const event::MenuChosen& e) const
        {
            CWnd* object = backend::object(window);
            if ((e.id & 0xFFF0) >= firstSystemCommand || !object)
                return false;
            object->OnSysCommand(e.id, 0);
            return true;
        }

        bool operator()(const event::CloseAsked&) const
        {
            CDialog* dialog = dialogObject(window);
            if (!dialog)
                return false;
            dialog->OnCancel();
            return true;
        }

        bool operator()(const event::FilesDragged&) const { return fileTaker(window) != nullptr; }

        bool operator()(const event::FilesDropped& e) const
        {
            CWnd* taker = fileTaker(window);
            if (!taker)
                return false;
            taker->OnDropFiles(e.files);
            return true;
        }

        bool operator()(const event::Resized&) const
        {
            if (CDialog* dialog = dialogObject(window))
                dialog->m_scroll.fit();
            return false;
        }

        bool operator()(const event::ScrollBarMoved& e) const
        {
            CDialog* dialog = dialogObject(window);
            if (!dialog)
                return false;
            dialog->m_scroll.moveBar(e.step, e.position);
            return true;
        }

        bool operator()(const event::DpiChanged&) const
        {
            // The dialogs' fonts have changed with the scale, and their units
            // and labels' widths with them, before the window lays out what it
            // placed itself.
            std::vector<WindowHandle> within{window};
            for (std::size_t i = 0; i < within.size(); ++i) {
                if (CDialog* dialog = dialogObject(within[i])) {
                    dialog->m_units = backend::dialogUnits(within[i]);
                    fitLabels(within[i]);
                }
                for (WindowHandle child : backend::children(within[i]))
                    within.push_back(child);
            }
            if (CWnd* object = backend::object(window))
                object->OnDpiChanged();
            return true;
        }

        bool operator()(const event::Destroyed&) const
        {
            CWnd* object = backend::object(window);
            if (!object)
                return false;
            object->Detach();
            if (object->m_madeByFromHandle)
                delete object;
            return true;
        }
    };
    return std::visit(Meaning{window}, happened);
}

}  // namespace veltra

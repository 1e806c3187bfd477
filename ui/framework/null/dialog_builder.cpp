// Dialogs made from templates, in the null backend's fixed font.
#include "null_backend.h"
#include "registry.h"

namespace veltra {

namespace backend {

DialogUnits dialogUnits(WindowHandle)
{
    return DialogUnits(null::characterWidth, null::lineHeight);
}

WindowHandle createDialog(const DialogTemplate& dialogTemplate, WindowHandle parent, bool child)
{
    null::Window* holder = null::windowOf(parent);
    null::Window& dialog = null::makeWindow(ControlKind::Dialog, holder, !child, noControlId);
    const DialogUnits units = dialogUnits(null::handleOf(&dialog));
    dialog.text = dialogTemplate.caption;
    dialog.rect = CRect{0, 0, units.toPixelsX(dialogTemplate.width), units.toPixelsY(dialogTemplate.height)};
    dialog.shown = false;
    for (const ControlTemplate& control : dialogTemplate.controls)
        null::makeControl(control.kind, control.text, control.imageId,
                          units.toPixels(control.x, control.y, control.width, control.height), dialog, control.id);
    return null::handleOf(&dialog);
}

}  // namespace backend
}  // namespace veltra

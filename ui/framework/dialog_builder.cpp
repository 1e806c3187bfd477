#include "dialog_builder.h"

#include <vector>

#include "backend.h"

namespace veltra {

namespace {

void fitToText(WindowHandle label)
{
    const CRect place = backend::windowRect(label);
    const int needed = backend::textWidth(label, backend::text(label));
    if (needed > place.Width())
        backend::moveWindow(label, CRect{place.left, place.top, place.left + needed, place.bottom});
}

}  // namespace

void finishTemplateControls(WindowHandle dialog, const DialogTemplate& dialogTemplate)
{
    const std::vector<WindowHandle> made = backend::children(dialog);
    if (made.size() < dialogTemplate.controls.size())
        return;
    for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
        const ControlTemplate& control = dialogTemplate.controls[i];
        const ControlTraits& traits = traitsOf(control.kind);
        if (traits.lineLabel)
            fitToText(made[i]);
        if (traits.controlClass == ControlClass::Button)
            backend::setAccessibleName(made[i], spokenText(control.text), {});
        if (traits.controlClass != ControlClass::Edit)
            continue;
        if (const ControlTemplate* label = labelBeside(dialogTemplate, control))
            backend::setAccessibleName(made[i], spokenText(label->text),
                                       made[static_cast<std::size_t>(label - dialogTemplate.controls.data())]);
    }
}

void fitLabels(WindowHandle dialog)
{
    for (WindowHandle child : backend::children(dialog))
        if (const std::optional<ControlKind> kind = backend::kindOf(child); kind && traitsOf(*kind).lineLabel)
            fitToText(child);
}

}  // namespace veltra

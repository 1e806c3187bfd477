#pragma once

// What the framework does to a dialog's controls once its backend made them
// from the template. Nothing outside the framework includes this file.

#include "dialog_template.h"
#include "types.h"

namespace veltra {

// One-line labels widened to their text, each edit named by the label beside
// it, each button by its own text.
void finishTemplateControls(WindowHandle dialog, const DialogTemplate& dialogTemplate);

// The dialog's one-line labels widened rightwards to show their whole text in
// the font they are shown in: it can be wider than the one the layout was
// made with. Never narrowed.
void fitLabels(WindowHandle dialog);

}  // namespace veltra

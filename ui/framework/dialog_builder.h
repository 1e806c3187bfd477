#pragma once

#include <QWidget>
#include <vector>

#include "dialog_template.h"
#include "dialog_units.h"

namespace veltra {

// A new widget of the control's kind, not yet configured.
QWidget* createControl(const ControlTemplate& control, QWidget& parent);

// Gives `widget` everything the template says of the control: parent, id,
// text, position and size converted with `units`, focus and look.
void applyControlTemplate(QWidget& widget, const ControlTemplate& control, const DialogUnits& units,
                          QWidget& parent);

// Creates every control of `dialog` as a child of `parent`, in template order,
// which is also the keyboard's tab order. Each edit's accessible name is the
// label beside it.
std::vector<QWidget*> buildControls(const DialogTemplate& dialog, const DialogUnits& units, QWidget& parent);

// The text of a control as a reader says it: mnemonics removed.
QString spokenText(const char* text);

}  // namespace veltra

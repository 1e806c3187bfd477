// A dialog's modal loop: Qt's own.
#include <QDialog>

#include "qt_backend.h"
#include "../backend.h"

namespace veltra::backend {

void endDialog(WindowHandle dialog, int result)
{
    static_cast<QDialog*>(qt::widgetOf(dialog))->done(result);
}

int runModal(WindowHandle dialog)
{
    return static_cast<QDialog*>(qt::widgetOf(dialog))->exec();
}

}  // namespace veltra::backend

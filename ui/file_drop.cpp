// Files dropped on the window from a file manager.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

namespace {

// A drag that carries files, and only files on this machine.
bool carriesLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return false;
    for (const QUrl& url : data->urls())
        if (!url.isLocalFile())
            return false;
    return true;
}

}  // namespace

void CVeltraDlg::AcceptFileDrops()
{
    setAcceptDrops(true);
    // An edit would take a dropped file as text, its path typed into a value;
    // files are the window's, wherever they are dropped.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

void CVeltraDlg::OnDropFiles(const QList<QUrl>& urls)
{
    if (urls.size() != 1) {
        showMessage(this, QString::fromLatin1(res::oneFileAtATimeMessage));
        return;
    }
    OpenFile(urls.front().toLocalFile());
}

void CVeltraDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (carriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void CVeltraDlg::dragMoveEvent(QDragMoveEvent* event)
{
    if (carriesLocalFiles(event->mimeData()))
        event->acceptProposedAction();
}

void CVeltraDlg::dropEvent(QDropEvent* event)
{
    if (!carriesLocalFiles(event->mimeData()))
        return;
    event->acceptProposedAction();
    // Copied: the drag's data belongs to the drag, which may end while a
    // message box runs.
    const QList<QUrl> urls = event->mimeData()->urls();
    OnDropFiles(urls);
}

bool CVeltraDlg::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!carriesLocalFiles(drop->mimeData()))
            break;
        if (event->type() == QEvent::Drop)
            dropEvent(drop);
        else
            drop->acceptProposedAction();
        return true;
    }
    default:
        break;
    }
    return CDialog::eventFilter(watched, event);
}

}  // namespace veltra

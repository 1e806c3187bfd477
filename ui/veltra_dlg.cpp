#include "veltra_dlg.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

#include "res/strings.h"
#include "res/templates.h"
#include "rom/image.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "rom/message.h"
#include "ui/about_dlg.h"
#include "ui/framework/dialog_builder.h"
#include "ui/framework/prompts.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace veltra {

namespace {

const QColor checksumAgrees(148, 239, 148);
const QColor checksumDiffers(255, 85, 0);

QString fromImageText(const TextLoc& text)
{
    return QString::fromLatin1(text.shown());
}

}  // namespace

std::filesystem::path toFilePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray encoded = QFile::encodeName(path);
    return std::filesystem::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
#endif
}

CVeltraDlg::CVeltraDlg(QWidget* pParent) : CDialog(res::mainDialog), m_hIcon(loadImageResource(res::appIconId))
{
    if (pParent)
        setParent(pParent, windowFlags());
    // The image model's messages become this window's message boxes.
    setMessageHandler([this](const std::string& text) { showMessage(this, QString::fromStdString(text)); });
}

CVeltraDlg::~CVeltraDlg()
{
    setMessageHandler({});
}

void CVeltraDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, res::tabControlId, m_tabCtrl);
    DDX_Control(pDX, res::pictureId, m_picture);
    DDX_Text(pDX, res::fileNameEditId, m_fileName);
    DDX_Text(pDX, res::nameEditId, m_name);
    DDX_Text(pDX, res::boardEditId, m_board);
    DDX_Text(pDX, res::dateEditId, m_date);
    DDX_Text(pDX, res::versionEditId, m_version);
    DDX_Text(pDX, res::deviceIdEditId, m_deviceIdText);
    DDX_Text(pDX, res::checksumEditId, m_checksumText);
    DDX_Control(pDX, res::checksumEditId, m_checksumEdit);
}

bool CVeltraDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

#ifdef Q_OS_WIN
    if (HMENU sysMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(sysMenu, MF_STRING, aboutCommandId, reinterpret_cast<const wchar_t*>(
                                                            QString::fromLatin1(res::aboutMenuText).utf16()));
    }
#else
    // X11 and Wayland leave the window menu to the window manager; the item
    // lives in the window's context menu instead.
    m_sysMenu = new QMenu(this);
    m_sysMenu->addSeparator();
    QAction* about = m_sysMenu->addAction(QString::fromLatin1(res::aboutMenuText));
    QObject::connect(about, &QAction::triggered, this, [this] { OnSysCommand(aboutCommandId, 0); });
#endif

    setWindowIcon(m_hIcon);

    GetDlgItem(res::saveBiosButtonId)->setEnabled(false);
    GetDlgItem(res::saveBiosAsButtonId)->setEnabled(false);

    for (int i = 0; i < 5; ++i)
        m_tabCtrl.InsertItem(i, QString::fromLatin1(res::tabCaptions[i]));

    m_frequencyPage.Create(&m_tabCtrl);
    m_boostPage.Create(&m_tabCtrl);
    m_powerPage.Create(&m_tabCtrl);
    m_fanPage.Create(&m_tabCtrl);
    m_voltagePage.Create(&m_tabCtrl);

    const QRect client = m_tabCtrl.rect();
    const QRect pageRect(client.left() + 3, client.top() + 23, client.width() - 8, client.height() - 27);
    m_pages = {&m_frequencyPage, &m_boostPage, &m_powerPage, &m_fanPage, &m_voltagePage};
    for (CDialog* page : m_pages)
        page->setGeometry(pageRect);

    m_pages[0]->show();
    for (std::size_t i = 1; i < m_pages.size(); ++i)
        m_pages[i]->hide();

    m_curPage = 0;
    m_tabCtrl.SetCurSel(0);
    m_tabCtrl.SetSelChangeHandler([this] { OnTabSelChange(); });

    auto* open = dynamic_cast<QPushButton*>(GetDlgItem(res::openBiosButtonId));
    auto* save = dynamic_cast<QPushButton*>(GetDlgItem(res::saveBiosButtonId));
    auto* saveAs = dynamic_cast<QPushButton*>(GetDlgItem(res::saveBiosAsButtonId));
    QObject::connect(open, &QPushButton::clicked, this, [this] { OnOpenBios(); });
    QObject::connect(save, &QPushButton::clicked, this, [this] { OnSaveBios(); });
    QObject::connect(saveAs, &QPushButton::clicked, this, [this] { OnSaveBiosAs(); });

    GetDlgItem(res::nameEditId)->setFocus();
    return true;
}

bool CVeltraDlg::LoadAndShow(const QString& path)
{
    if (!loadRomFile(toFilePath(path), m_info)) {
        showMessage(this, QString::fromLatin1(res::loadFailedMessage));
        return false;
    }
    if (!ShowBoardIdentity())
        return false;

    m_picture.setPixmap(loadImageResource(res::logoBitmapId));

    m_version = fromImageText(m_info.versionText);
    m_date = fromImageText(m_info.dateText);
    m_board = fromImageText(m_info.boardText);

    ShowPageValues();

    m_checksumEdit.SetBackColor(m_info.checksumStored == m_info.checksumComputed ? checksumAgrees
                                                                                  : checksumDiffers);
    m_checksumText = QString::asprintf("%.2X - [%.2X]", unsigned{m_info.checksumStored},
                                       unsigned{m_info.checksumComputed});

    GetDlgItem(res::saveBiosButtonId)->setEnabled(true);
    GetDlgItem(res::saveBiosAsButtonId)->setEnabled(true);

    m_loadedFrom = romImage().source;
    UpdateData(false);
    return true;
}

void CVeltraDlg::ShowPageValues()
{
    const PageValues shown = pageValuesFrom(m_info);
    m_frequencyPage.m_gpuClock = QString::fromStdString(shown.gpuClock);
    m_frequencyPage.m_boostClock = QString::fromStdString(shown.boostClock);
    m_frequencyPage.m_memClock = QString::fromStdString(shown.memClock);
    m_frequencyPage.UpdateData(false);

    for (std::size_t k = 0; k < boostEntryCount; ++k)
        m_boostPage.m_edits[k].setText(QString::fromStdString(shown.boostTable[k]));

    m_powerPage.m_powerDefault = shown.powerDefault;
    m_powerPage.m_powerMax = shown.powerMax;
    m_powerPage.m_powerLimitLo = shown.powerLimitLo;
    m_powerPage.m_powerLimitHi = shown.powerLimitHi;
    m_powerPage.UpdateData(false);

    m_fanPage.m_fanMin = shown.fanMin;
    m_fanPage.m_fanMax = shown.fanMax;
    m_fanPage.UpdateData(false);

    m_voltagePage.m_voltage = QString::fromStdString(shown.voltage);
    m_voltagePage.UpdateData(false);
}

bool CVeltraDlg::ShowBoardIdentity()
{
    const BoardEntry* board = findBoard(m_info.vendorId, m_info.deviceId);
    if (!board) {
        showMessage(this, QString::fromLatin1(res::unknownGpuMessage));
        return false;
    }
    m_name = QString::fromLatin1(board->displayName);
    m_deviceIdText = QString::asprintf("%.4X - %.4X", unsigned{m_info.vendorId}, unsigned{m_info.deviceId});
    UpdateData(false);
    return true;
}

void CVeltraDlg::OnOpenBios()
{
    const std::optional<QString> path = prompts().askOpenPath(this);
    if (!path)
        return;
    if (!LoadAndShow(*path))
        return;
    m_fileName = QFileInfo(*path).fileName();
    m_filePath = *path;
    UpdateData(false);
}

void CVeltraDlg::OnTabSelChange()
{
    m_pages[static_cast<std::size_t>(m_curPage)]->hide();
    m_curPage = m_tabCtrl.GetCurSel();
    m_pages[static_cast<std::size_t>(m_curPage)]->show();
}

void CVeltraDlg::OnSysCommand(unsigned nID, long long)
{
    if ((nID & 0xFFF0) == aboutCommandId) {
        CAboutDlg about;
        about.DoModal();
    }
}

void CVeltraDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_sysMenu) {
        CDialog::contextMenuEvent(event);
        return;
    }
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(0, 0));
    m_sysMenu->popup(at);
    event->accept();
}

#ifdef Q_OS_WIN
bool CVeltraDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == aboutCommandId) {
        OnSysCommand(static_cast<unsigned>(msg->wParam), static_cast<long long>(msg->lParam));
        *result = 0;
        return true;
    }
    return CDialog::nativeEvent(eventType, message, result);
}
#endif

}  // namespace veltra

#include "veltra_dlg.h"

#include <QPushButton>

#include "ui/res/strings.h"
#include "ui/res/templates.h"
#include "rom/image.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "rom/message.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/images.h"
#include "ui/framework/prompts.h"
#include "ui/res/images.h"

namespace veltra {

namespace {

const QColor checksumAgrees(148, 239, 148);
const QColor checksumDiffers(255, 85, 0);

QString fromImageText(const TextLoc& text)
{
    return QString::fromLatin1(text.shown());
}

}  // namespace

FileQuestion romFileQuestion(const char* title)
{
    return {QString::fromLatin1(title), QString::fromLatin1(res::romFileFilter), QString::fromLatin1(res::romFileSuffix)};
}

std::filesystem::path toFilePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray encoded = QFile::encodeName(path);
    return std::filesystem::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
#endif
}

CVeltraDlg::CVeltraDlg(QWidget* pParent) : CDialog(res::mainDialog, pParent)
{
    // The dialog layer draws its templates' images from ours, and the image
    // model's messages become this window's message boxes.
    setImageLoader(&res::loadImage);
    m_hIcon = QIcon(loadImageResource(res::appIconId));
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

    InitWindowMenu();
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
    LoadAccelerators(res::mainAccelerators);
    AcceptFileDrops();

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
    for (CSettingPage* page : m_pages)
        page->Show(shown);
}

CSettingPage& CVeltraDlg::PageOf(EditGroup group) const
{
    for (CSettingPage* page : m_pages)
        if (page->Group() == group)
            return *page;
    return *m_pages[0];
}

void CVeltraDlg::GotoPageEdit(CSettingPage& page, QWidget* edit)
{
    for (int tab = 0; tab < static_cast<int>(m_pages.size()); ++tab) {
        if (m_pages[static_cast<std::size_t>(tab)] != &page || tab == m_curPage)
            continue;
        m_tabCtrl.SetCurSel(tab);
        OnTabSelChange();
    }
    page.GotoDlgCtrl(edit);
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

void CVeltraDlg::OnTabSelChange()
{
    m_pages[static_cast<std::size_t>(m_curPage)]->hide();
    m_curPage = m_tabCtrl.GetCurSel();
    m_pages[static_cast<std::size_t>(m_curPage)]->show();
}

}  // namespace veltra

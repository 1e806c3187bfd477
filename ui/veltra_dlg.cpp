#include "veltra_dlg.h"

#include "rom/image.h"
#include "rom/message.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "ui/framework/data_exchange.h"
#include "ui/framework/prompts.h"
#include "ui/framework/text.h"
#include "ui/res/strings.h"
#include "ui/res/templates.h"

namespace veltra {

namespace {

constexpr Color checksumAgrees{148, 239, 148};
constexpr Color checksumDiffers{255, 85, 0};

// The image's texts are 8-bit, each byte its Latin-1 character.
std::string fromImageText(const TextLoc& text)
{
    const std::string bytes = text.shown();
    std::string shown;
    for (const unsigned char c : bytes) {
        if (c < 0x80) {
            shown += static_cast<char>(c);
        } else {
            shown += static_cast<char>(0xC0 | (c >> 6));
            shown += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return shown;
}

}  // namespace

FileQuestion romFileQuestion(const char* title)
{
    return {title, res::romFileFilter, res::romFileSuffix};
}

CVeltraDlg::CVeltraDlg(CWnd* pParent) : CDialog(res::mainDialog, pParent)
{
    // The image model's messages become this window's message boxes.
    setMessageHandler([this](const std::string& text) { showMessage(this, text); });
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
    SetIcon(res::appIconId);

    GetDlgItem(res::saveBiosButtonId)->EnableWindow(false);
    GetDlgItem(res::saveBiosAsButtonId)->EnableWindow(false);

    for (int i = 0; i < 5; ++i)
        m_tabCtrl.InsertItem(i, res::tabCaptions[i]);

    m_frequencyPage.Create(&m_tabCtrl);
    m_boostPage.Create(&m_tabCtrl);
    m_powerPage.Create(&m_tabCtrl);
    m_fanPage.Create(&m_tabCtrl);
    m_voltagePage.Create(&m_tabCtrl);

    m_pages = {&m_frequencyPage, &m_boostPage, &m_powerPage, &m_fanPage, &m_voltagePage};
    PlacePages();

    m_pages[0]->ShowWindow(true);
    for (std::size_t i = 1; i < m_pages.size(); ++i)
        m_pages[i]->ShowWindow(false);

    m_curPage = 0;
    m_tabCtrl.SetCurSel(0);

    LoadAccelerators(res::mainAccelerators);
    DragAcceptFiles();

    GetDlgItem(res::nameEditId)->SetFocus();
    return true;
}

// The pages fill the tab control below its captions, the offsets given in
// pixels at 96 dpi.
void CVeltraDlg::PlacePages()
{
    const CRect client = m_tabCtrl.GetClientRect();
    const CRect pageRect{client.left + ScaleForDpi(3), client.top + ScaleForDpi(23), client.right - ScaleForDpi(5),
                         client.bottom - ScaleForDpi(4)};
    for (CDialog* page : m_pages)
        page->MoveWindow(pageRect);
}

void CVeltraDlg::OnDpiChanged()
{
    PlacePages();
    m_boostPage.LayOutGrid();
}

void CVeltraDlg::OnCommand(int id)
{
    switch (id) {
    case res::openBiosButtonId:
        OnOpenBios();
        break;
    case res::saveBiosButtonId:
        OnSaveBios();
        break;
    case res::saveBiosAsButtonId:
        OnSaveBiosAs();
        break;
    case res::aboutCommandId:
        OnSysCommand(static_cast<unsigned>(id), 0);
        break;
    default:
        CDialog::OnCommand(id);
    }
}

void CVeltraDlg::OnNotify(int id, Notify code)
{
    if (id == res::tabControlId && code == Notify::SelChange)
        OnTabSelChange();
}

bool CVeltraDlg::LoadAndShow(const std::filesystem::path& path)
{
    if (!loadRomFile(path, m_info)) {
        showMessage(this, res::loadFailedMessage);
        return false;
    }
    if (!ShowBoardIdentity())
        return false;

    m_picture.SetBitmap(res::logoBitmapId);

    m_version = fromImageText(m_info.versionText);
    m_date = fromImageText(m_info.dateText);
    m_board = fromImageText(m_info.boardText);

    ShowPageValues();

    m_checksumEdit.SetBackColor(m_info.checksumStored == m_info.checksumComputed ? checksumAgrees
                                                                                  : checksumDiffers);
    m_checksumText = formatText("%.2X - [%.2X]", unsigned{m_info.checksumStored}, unsigned{m_info.checksumComputed});

    GetDlgItem(res::saveBiosButtonId)->EnableWindow(true);
    GetDlgItem(res::saveBiosAsButtonId)->EnableWindow(true);

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

void CVeltraDlg::GotoPageEdit(CSettingPage& page, CWnd* edit)
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
        showMessage(this, res::unknownGpuMessage);
        return false;
    }
    m_name = board->displayName;
    m_deviceIdText = formatText("%.4X - %.4X", unsigned{m_info.vendorId}, unsigned{m_info.deviceId});
    UpdateData(false);
    return true;
}

void CVeltraDlg::OnTabSelChange()
{
    m_pages[static_cast<std::size_t>(m_curPage)]->ShowWindow(false);
    m_curPage = m_tabCtrl.GetCurSel();
    m_pages[static_cast<std::size_t>(m_curPage)]->ShowWindow(true);
}

}  // namespace veltra

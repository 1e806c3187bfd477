#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "rom/bios_info.h"
#include "rom/image.h"
#include "ui/color_edit.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/prompts.h"
#include "ui/framework/tab_control.h"
#include "ui/pages.h"
#include "ui/res/resource_ids.h"

namespace veltra {

// The main window: the loaded image's identity, the file commands, the five
// pages on a tab control and the checksum field.
class CVeltraDlg : public CDialog {
public:
    explicit CVeltraDlg(CWnd* pParent = nullptr);
    ~CVeltraDlg() override;

    // Loads the file and, on success, shows everything it holds. A failed
    // load changes nothing, neither in the window nor in m_info.
    bool LoadAndShow(const std::filesystem::path& path);
    bool ShowBoardIdentity();
    // Reads every page into m_info and checks it. After the first failing
    // rule's message, or a value a page could not read, the focus is in that
    // value's edit and the result is false.
    bool CommitEdits();
    // What Open BIOS does once a file is chosen: asks before unsaved edits
    // are replaced, then loads and shows the file and makes it current.
    bool OpenFile(const std::filesystem::path& path);
    // Whether a page's text differs from what the last load showed.
    bool HasUnsavedEdits() const;

    void OnOpenBios();
    void OnSaveBios();
    void OnSaveBiosAs();
    void OnTabSelChange();
    void OnSysCommand(unsigned nID, long long lParam) override;
    // One file opens as Open BIOS would; several are refused.
    void OnDropFiles(const std::vector<std::filesystem::path>& files) override;

    // Command id of the About item.
    static constexpr unsigned aboutCommandId = res::aboutCommandId;

    const BiosInfo& Info() const { return m_info; }
    CDialog& Page(int tabIndex) const { return *m_pages[static_cast<std::size_t>(tabIndex)]; }
    const std::filesystem::path& FilePath() const { return m_filePath; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCommand(int id) override;
    void OnNotify(int id, Notify code) override;
    // Escape and the close button end the window, after asking when there
    // are unsaved edits.
    void OnCancel() override;
    // Edits keep their own menu; a right click anywhere else, pages included,
    // opens the window's menu.
    void OnContextMenu(CWnd* pWnd, CPoint point) override;
    // Moved to a monitor of another scale: the pages and the Boost grid are
    // placed again.
    void OnDpiChanged() override;

private:
    void PlacePages();
    void ShowPageValues();
    void InitWindowMenu();
    bool ConfirmDiscardEdits();
    CSettingPage& PageOf(EditGroup group) const;
    // Shows the page and puts the focus in `edit`, its text selected.
    void GotoPageEdit(CSettingPage& page, CWnd* edit);

    CTabCtrl m_tabCtrl;
    CStatic m_picture;
    CFrequencyPage m_frequencyPage;
    CFanPage m_fanPage;
    CPowerPage m_powerPage;
    CBoostPage m_boostPage;
    CVoltagePage m_voltagePage;
    int m_curPage = 0;
    std::array<CSettingPage*, 5> m_pages{};
    BiosInfo m_info;
    std::string m_fileName;
    std::filesystem::path m_filePath;
    std::string m_name;
    std::string m_board;
    std::string m_date;
    std::string m_version;
    std::string m_deviceIdText;
    std::string m_checksumText;
    CColorEdit m_checksumEdit;
    // The file the last successful load read, as it was then: "Save BIOS"
    // replaces only that file.
    std::optional<FileIdentity> m_loadedFrom;
};

// The question the file dialogs of Open BIOS and Save BIOS As ask.
FileQuestion romFileQuestion(const char* title);

}  // namespace veltra

#pragma once

#include <QIcon>
#include <QString>
#include <array>
#include <filesystem>
#include <optional>

#include "rom/bios_info.h"
#include "rom/image.h"
#include "ui/color_edit.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/tab_control.h"
#include "ui/pages.h"

class QMenu;

namespace veltra {

// The main window: the loaded image's identity, the file commands, the five
// pages on a tab control and the checksum field.
class CVeltraDlg : public CDialog {
public:
    explicit CVeltraDlg(QWidget* pParent = nullptr);
    ~CVeltraDlg() override;

    // Loads the file and, on success, shows everything it holds. A failed
    // load changes nothing, neither in the window nor in m_info.
    bool LoadAndShow(const QString& path);
    bool ShowBoardIdentity();
    // Reads every page into m_info and checks it; false after the first
    // failing rule's message.
    bool CommitEdits();

    void OnOpenBios();
    void OnSaveBios();
    void OnSaveBiosAs();
    void OnTabSelChange();
    void OnSysCommand(unsigned nID, long long lParam);

    // Command id of the About item.
    static constexpr unsigned aboutCommandId = 0x0010;

    const BiosInfo& Info() const { return m_info; }
    CDialog& Page(int tabIndex) const { return *m_pages[static_cast<std::size_t>(tabIndex)]; }
    const QString& FilePath() const { return m_filePath; }
    // The menu that carries the About item where the platform's own window
    // menu cannot be extended.
    QMenu* SystemMenu() const { return m_sysMenu; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void ShowPageValues();

    QIcon m_hIcon;
    CTabCtrl m_tabCtrl;
    CStatic m_picture;
    CFrequencyPage m_frequencyPage;
    CFanPage m_fanPage;
    CPowerPage m_powerPage;
    CBoostPage m_boostPage;
    CVoltagePage m_voltagePage;
    int m_curPage = 0;
    std::array<CDialog*, 5> m_pages{};
    BiosInfo m_info;
    QString m_fileName;
    QString m_filePath;
    QString m_name;
    QString m_board;
    QString m_date;
    QString m_version;
    QString m_deviceIdText;
    QString m_checksumText;
    CColorEdit m_checksumEdit;
    QMenu* m_sysMenu = nullptr;  // owned by the window
    // The file the last successful load read, as it was then: "Save BIOS"
    // replaces only that file.
    std::optional<FileIdentity> m_loadedFrom;
};

// The path as the file system spells it.
std::filesystem::path toFilePath(const QString& path);

}  // namespace veltra

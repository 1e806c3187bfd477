#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QUrl>
#include <array>
#include <filesystem>
#include <optional>

#include "rom/bios_info.h"
#include "rom/image.h"
#include "ui/color_edit.h"
#include "ui/framework/controls.h"
#include "ui/framework/dialog.h"
#include "ui/framework/prompts.h"
#include "ui/framework/tab_control.h"
#include "ui/pages.h"
#include "ui/res/resource_ids.h"

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
    // Reads every page into m_info and checks it. After the first failing
    // rule's message, or a value a page could not read, the focus is in that
    // value's edit and the result is false.
    bool CommitEdits();
    // What Open BIOS does once a file is chosen: asks before unsaved edits
    // are replaced, then loads and shows the file and makes it current.
    bool OpenFile(const QString& path);
    // Whether a page's text differs from what the last load showed.
    bool HasUnsavedEdits() const;

    void OnOpenBios();
    void OnSaveBios();
    void OnSaveBiosAs();
    void OnTabSelChange();
    void OnSysCommand(unsigned nID, long long lParam);
    // One local file opens as Open BIOS would; several are refused.
    void OnDropFiles(const QList<QUrl>& urls);

    // Escape and the close button end the window, after asking when there
    // are unsaved edits.
    void reject() override;

    // Command id of the About item.
    static constexpr unsigned aboutCommandId = res::aboutCommandId;

    const BiosInfo& Info() const { return m_info; }
    CDialog& Page(int tabIndex) const { return *m_pages[static_cast<std::size_t>(tabIndex)]; }
    const QString& FilePath() const { return m_filePath; }
    // The menu that carries the About item; a right click outside the edits
    // opens it.
    QMenu* SystemMenu() const { return m_sysMenu; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnCommand(int id) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void ShowPageValues();
    void InitWindowMenu();
    void AcceptFileDrops();
    bool ConfirmDiscardEdits();
    CSettingPage& PageOf(EditGroup group) const;
    // Shows the page and puts the focus in `edit`, its text selected.
    void GotoPageEdit(CSettingPage& page, QWidget* edit);

    QIcon m_hIcon;
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

// The question the file dialogs of Open BIOS and Save BIOS As ask.
FileQuestion romFileQuestion(const char* title);

}  // namespace veltra

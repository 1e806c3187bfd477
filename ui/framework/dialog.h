#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <span>

#include "dialog_template.h"
#include "dialog_units.h"

namespace veltra {

class CDataExchange;

// A dialog made from a template: modal with DoModal, or a borderless child
// with Create. Controls keep their template ids.
class CDialog : public QDialog {
public:
    // `pParentWnd` owns the dialog when it runs on its own: the dialog stays
    // above that window and opens centred on it.
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the window as a hidden child of `parent` (or as a window of its
    // own when parent is null) and runs OnInitDialog.
    bool Create(QWidget* parent = nullptr);
    // Creates the window if needed and runs it modally through the prompts.
    int DoModal();

    QWidget* GetDlgItem(int id) const;
    // Runs DoDataExchange; false when a value could not be read.
    bool UpdateData(bool saveAndValidate = true);
    // The control whose text the last UpdateData could not read; null when
    // it completed.
    QWidget* FailedControl() const { return m_failedControl; }
    // Moves the keyboard focus to `control`; an edit's whole text is selected,
    // so typing replaces it.
    void GotoDlgCtrl(QWidget* control);
    // Keys that run OnCommand while this dialog's window is active.
    void LoadAccelerators(std::span<const Accelerator> accelerators);

    const DialogTemplate& Template() const { return m_template; }
    const DialogUnits& Units() const { return *m_units; }

    // Puts `control` where the template's control `id` stands, taking its
    // place in position, tab order and id. The replaced widget is deleted.
    void SubclassDlgItem(int id, QWidget& control);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // The base runs the exchange towards the controls.
    virtual bool OnInitDialog();
    // A command from an accelerator. The base clicks the button with that id,
    // which does nothing while the button is disabled.
    virtual void OnCommand(int id);

    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const DialogTemplate& m_template;
    QWidget* m_pParentWnd;
    std::unique_ptr<DialogUnits> m_units;
    QPointer<QWidget> m_failedControl;
    bool m_created = false;
};

}  // namespace veltra

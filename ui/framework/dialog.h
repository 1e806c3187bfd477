#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "dialog_template.h"
#include "dialog_units.h"

namespace veltra {

class CDataExchange;

// A dialog made from a template: modal with DoModal, or a borderless child
// with Create. Controls keep their template ids.
class CDialog : public QDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate);
    ~CDialog() override;

    // Builds the window as a hidden child of `parent` (or as a top-level
    // window when parent is null) and runs OnInitDialog.
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

    const DialogTemplate& Template() const { return m_template; }
    const DialogUnits& Units() const { return *m_units; }

    // Puts `control` where the template's control `id` stands, taking its
    // place in position, tab order and id. The replaced widget is deleted.
    void SubclassDlgItem(int id, QWidget& control);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // The base runs the exchange towards the controls.
    virtual bool OnInitDialog();

    void keyPressEvent(QKeyEvent* event) override;

private:
    const DialogTemplate& m_template;
    std::unique_ptr<DialogUnits> m_units;
    QPointer<QWidget> m_failedControl;
    bool m_created = false;
};

}  // namespace veltra

#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "dialog_template.h"
#include "dialog_units.h"

namespace veltra {

class CDialog;

// The direction and progress of one data exchange.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog& m_dialog;
    const bool m_bSaveAndValidate;  // true: controls to members
    bool m_bFailed = false;         // a value could not be read; later entries are skipped
};

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
    bool m_created = false;
};

// Binds `control` to the dialog's control `id` the first time it runs.
void DDX_Control(CDataExchange* pDX, int id, QWidget& control);
// The control's whole text, unchanged, in either direction.
void DDX_Text(CDataExchange* pDX, int id, QString& value);
// Unsigned decimal text. A text that is not one is reported, the exchange
// stops and this and later members keep their values.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value);

// What the unsigned exchange says about text it cannot read.
extern const char* const unsignedExchangeMessage;

}  // namespace veltra

#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace veltra {

// Every modal question the window asks goes through this interface, so that
// tests can answer it without a modal loop.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A warning with one OK button; returns when it has been dismissed.
    virtual void showMessage(QWidget* owner, const QString& text) = 0;
    // The full path of an existing *.rom file, or nothing when cancelled.
    virtual std::optional<QString> askOpenPath(QWidget* owner) = 0;
    // The full path to save to, or nothing when cancelled.
    virtual std::optional<QString> askSavePath(QWidget* owner) = 0;
    // Runs a dialog modally and returns how it ended.
    virtual int runModal(QDialog& dialog) = 0;
};

// The process's prompts: the real dialogs unless replaced.
Prompts& prompts();
// Replaces the prompts; null puts the real dialogs back.
void setPrompts(Prompts* replacement);

inline void showMessage(QWidget* owner, const QString& text)
{
    prompts().showMessage(owner, text);
}

// The title of every message box.
extern const char* const messageTitle;
// The one file type the dialogs offer.
extern const char* const romFileFilter;

// The boxes the real prompts show, made ready but not run.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& text);
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* owner, QFileDialog::AcceptMode mode);

// Prompts that show real, modal dialogs.
class DialogPrompts : public Prompts {
public:
    void showMessage(QWidget* owner, const QString& text) override;
    std::optional<QString> askOpenPath(QWidget* owner) override;
    std::optional<QString> askSavePath(QWidget* owner) override;
    int runModal(QDialog& dialog) override;
};

}  // namespace veltra

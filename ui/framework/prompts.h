#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace veltra {

// What a file dialog is titled and offers. The program fills it in; this
// layer knows no file type of its own.
struct FileQuestion {
    QString title;
    QString filter;         // one filter, "Name(*.ext)"
    QString defaultSuffix;  // added to a name typed without one
};

// Every modal question the window asks goes through this interface, so that
// tests can answer it without a modal loop.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A warning with one OK button; returns when it has been dismissed.
    virtual void showMessage(QWidget* owner, const QString& text) = 0;
    // A question with Yes and No; true for Yes. No is the default answer, and
    // Escape or closing the box gives it.
    virtual bool askYesNo(QWidget* owner, const QString& question) = 0;
    // The full path of an existing file, or nothing when cancelled.
    virtual std::optional<QString> askOpenPath(QWidget* owner, const FileQuestion& question) = 0;
    // The full path to save to, or nothing when cancelled.
    virtual std::optional<QString> askSavePath(QWidget* owner, const FileQuestion& question) = 0;
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

// The boxes the real prompts show, made ready but not run. Message boxes
// carry the application's name as their title.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& text);
std::unique_ptr<QMessageBox> makeQuestionBox(QWidget* owner, const QString& question);
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const FileQuestion& question);

// Prompts that show real, modal dialogs.
class DialogPrompts : public Prompts {
public:
    void showMessage(QWidget* owner, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& question) override;
    std::optional<QString> askOpenPath(QWidget* owner, const FileQuestion& question) override;
    std::optional<QString> askSavePath(QWidget* owner, const FileQuestion& question) override;
    int runModal(QDialog& dialog) override;
};

}  // namespace veltra

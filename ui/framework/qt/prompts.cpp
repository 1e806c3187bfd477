// The real message boxes and file dialogs.
#include <QCoreApplication>
#include <QDialog>

#include "qt_backend.h"
#include "../backend.h"
#include "../dialog.h"

namespace veltra {

namespace {

QWidget* windowOf(CWnd* owner)
{
    QWidget* widget = owner ? qt::widgetOf(owner->GetSafeHwnd()) : nullptr;
    return widget ? widget->window() : nullptr;
}

std::optional<std::filesystem::path> askPath(CWnd* owner, QFileDialog::AcceptMode mode, const FileQuestion& question)
{
    const std::unique_ptr<QFileDialog> dialog = qt::makeFileDialog(windowOf(owner), mode, question);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return qt::filePath(dialog->selectedFiles().constFirst());
}

std::unique_ptr<QMessageBox> makeBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                                     QMessageBox::StandardButtons buttons)
{
    auto box = std::make_unique<QMessageBox>(icon, QCoreApplication::applicationName(), text, buttons,
                                             owner ? owner->window() : nullptr);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

// Prompts that show real, modal dialogs.
class DialogPrompts : public Prompts {
public:
    void showMessage(CWnd* owner, const std::string& text) override
    {
        qt::makeMessageBox(windowOf(owner), QString::fromStdString(text))->exec();
    }

    bool askYesNo(CWnd* owner, const std::string& question) override
    {
        return qt::makeQuestionBox(windowOf(owner), QString::fromStdString(question))->exec() == QMessageBox::Yes;
    }

    std::optional<std::filesystem::path> askOpenPath(CWnd* owner, const FileQuestion& question) override
    {
        return askPath(owner, QFileDialog::AcceptOpen, question);
    }

    std::optional<std::filesystem::path> askSavePath(CWnd* owner, const FileQuestion& question) override
    {
        return askPath(owner, QFileDialog::AcceptSave, question);
    }

    int runModal(CDialog& dialog) override { return backend::runModal(dialog.GetSafeHwnd()); }
};

}  // namespace

namespace qt {

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* owner, const QString& text)
{
    return makeBox(owner, QMessageBox::Warning, text, QMessageBox::Ok);
}

std::unique_ptr<QMessageBox> makeQuestionBox(QWidget* owner, const QString& question)
{
    auto box = makeBox(owner, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No);
    // A stray Enter must not answer Yes.
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const FileQuestion& question)
{
    const bool saving = mode == QFileDialog::AcceptSave;
    auto dialog = std::make_unique<QFileDialog>(owner ? owner->window() : nullptr, QString::fromStdString(question.title),
                                                QString(), QString::fromStdString(question.filter));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(QString::fromStdString(question.defaultSuffix));
    // Replacing an existing file is confirmed first.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog;
}

}  // namespace qt

namespace backend {

Prompts& dialogPrompts()
{
    static DialogPrompts real;
    return real;
}

}  // namespace backend
}  // namespace veltra

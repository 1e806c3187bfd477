#include "prompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>

namespace veltra {

namespace {

Prompts* replaced = nullptr;

std::optional<QString> askPath(QWidget* owner, QFileDialog::AcceptMode mode, const FileQuestion& question)
{
    const std::unique_ptr<QFileDialog> dialog = makeFileDialog(owner, mode, question);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
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

}  // namespace

Prompts& prompts()
{
    static DialogPrompts real;
    return replaced ? *replaced : real;
}

void setPrompts(Prompts* replacement)
{
    replaced = replacement;
}

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
    auto dialog = std::make_unique<QFileDialog>(owner ? owner->window() : nullptr, question.title, QString(),
                                                question.filter);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(question.defaultSuffix);
    // Replacing an existing file is confirmed first.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog;
}

void DialogPrompts::showMessage(QWidget* owner, const QString& text)
{
    makeMessageBox(owner, text)->exec();
}

bool DialogPrompts::askYesNo(QWidget* owner, const QString& question)
{
    return makeQuestionBox(owner, question)->exec() == QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::askOpenPath(QWidget* owner, const FileQuestion& question)
{
    return askPath(owner, QFileDialog::AcceptOpen, question);
}

std::optional<QString> DialogPrompts::askSavePath(QWidget* owner, const FileQuestion& question)
{
    return askPath(owner, QFileDialog::AcceptSave, question);
}

int DialogPrompts::runModal(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace veltra

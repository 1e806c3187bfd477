#include "prompts.h"

#include <QDialog>

namespace veltra {

const char* const messageTitle = "Veltra";
const char* const romFileFilter = "BIOS File(*.rom)";

namespace {

Prompts* replaced = nullptr;

std::optional<QString> askPath(QWidget* owner, QFileDialog::AcceptMode mode)
{
    const std::unique_ptr<QFileDialog> dialog = makeFileDialog(owner, mode);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
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
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, QString::fromLatin1(messageTitle), text,
                                             QMessageBox::Ok, owner ? owner->window() : nullptr);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* owner, QFileDialog::AcceptMode mode)
{
    const bool saving = mode == QFileDialog::AcceptSave;
    auto dialog = std::make_unique<QFileDialog>(owner ? owner->window() : nullptr,
                                                saving ? QStringLiteral("Save BIOS As") : QStringLiteral("Open BIOS"),
                                                QString(), QString::fromLatin1(romFileFilter));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(QStringLiteral("rom"));
    // Replacing an existing file is confirmed first.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog;
}

void DialogPrompts::showMessage(QWidget* owner, const QString& text)
{
    makeMessageBox(owner, text)->exec();
}

std::optional<QString> DialogPrompts::askOpenPath(QWidget* owner)
{
    return askPath(owner, QFileDialog::AcceptOpen);
}

std::optional<QString> DialogPrompts::askSavePath(QWidget* owner)
{
    return askPath(owner, QFileDialog::AcceptSave);
}

int DialogPrompts::runModal(QDialog& dialog)
{
    return dialog.exec();
}

}  // namespace veltra

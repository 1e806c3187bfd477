// The system's message boxes and file dialogs, as Qt shows them.
#include <QCoreApplication>
#include <QDialog>
#include <QFile>

#include "qt_backend.h"
#include "../backend.h"

namespace veltra {

namespace {

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

namespace qt {

std::filesystem::path filePath(const QString& localFile)
{
#ifdef _WIN32
    return std::filesystem::path(localFile.toStdWString());
#else
    const QByteArray encoded = QFile::encodeName(localFile);
    return std::filesystem::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
#endif
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

void showMessageBox(WindowHandle owner, const std::string& text)
{
    qt::makeMessageBox(qt::widgetOf(owner), QString::fromStdString(text))->exec();
}

bool askYesNo(WindowHandle owner, const std::string& question)
{
    return qt::makeQuestionBox(qt::widgetOf(owner), QString::fromStdString(question))->exec() == QMessageBox::Yes;
}

std::optional<std::filesystem::path> askFilePath(WindowHandle owner, const FileQuestion& question, bool saving)
{
    const std::unique_ptr<QFileDialog> dialog =
        qt::makeFileDialog(qt::widgetOf(owner), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen, question);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return qt::filePath(dialog->selectedFiles().constFirst());
}

}  // namespace backend
}  // namespace veltra

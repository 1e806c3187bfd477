#include "veltra_app.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "ui/command_line.h"
#include "ui/res/strings.h"
#include "rom/file.h"
#include "ui/veltra_dlg.h"

namespace veltra {

CVeltraApp theApp;

namespace {

void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

bool CVeltraApp::InitInstance()
{
    ignoreFileSizeLimitSignal();
    return RunCommandLine(QCoreApplication::arguments());
}

bool CVeltraApp::RunCommandLine(const QStringList& arguments)
{
    QCoreApplication::setApplicationName(QString::fromLatin1(res::appName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(res::appVersion));
    const CommandLine line = readCommandLine(arguments);
    m_exitCode = line.exitCode.value_or(0);
    if (line.exitCode) {
        write(stdout, line.standardOutput);
        write(stderr, line.standardError);
        return false;
    }

    CVeltraDlg dlg;
    if (!line.file.isEmpty()) {
        // Shown first, so that a failed load's messages stand over the window.
        dlg.Create();
        dlg.show();
        dlg.OpenFile(QFileInfo(line.file).absoluteFilePath());
    }
    dlg.DoModal();
    return false;
}

}  // namespace veltra

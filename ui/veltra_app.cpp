#include "veltra_app.h"

#include <cstdio>

#include "rom/file.h"
#include "ui/res/strings.h"
#include "ui/veltra_dlg.h"

namespace veltra {

CVeltraApp theApp;

namespace {

void write(std::FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

AppIdentity CVeltraApp::Identity()
{
    return {res::appName, res::appVersion, VELTRA_APP_ID};
}

int CVeltraApp::Run(int argc, char** argv)
{
    if (!ReadCommandLine(std::vector<std::string>(argv, argv + argc)))
        return m_exitCode;
    WindowSystem windows(argc, argv, Identity());
    InitInstance();
    return ExitInstance();
}

bool CVeltraApp::RunCommandLine(const std::vector<std::string>& arguments)
{
    if (ReadCommandLine(arguments))
        InitInstance();
    return false;
}

bool CVeltraApp::ReadCommandLine(const std::vector<std::string>& arguments)
{
    m_commandLine = readCommandLine(arguments);
    m_exitCode = m_commandLine.exitCode.value_or(0);
    write(stdout, m_commandLine.standardOutput);
    write(stderr, m_commandLine.standardError);
    return !m_commandLine.exitCode;
}

bool CVeltraApp::InitInstance()
{
    ignoreFileSizeLimitSignal();
    CVeltraDlg dlg;
    if (!m_commandLine.file.empty()) {
        // Shown first, so that a failed load's messages stand over the window.
        dlg.Create();
        dlg.ShowWindow(true);
        std::error_code unknownFolder;
        const std::filesystem::path full = std::filesystem::absolute(m_commandLine.file, unknownFolder);
        dlg.OpenFile(unknownFolder ? m_commandLine.file : full);
    }
    dlg.DoModal();
    return false;
}

}  // namespace veltra

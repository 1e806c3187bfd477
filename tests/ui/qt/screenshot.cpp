// Renders the main window with a sample image (or the given one) loaded, once
// per tab:
//   veltra_screenshot <folder> [image.rom]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"
#include "ui/framework/qt/qt_backend.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/framework/text.h"
#include "ui/framework/window_system.h"
#include "ui/res/resource_ids.h"
#include "ui/res/strings.h"
#include "ui/veltra_app.h"
#include "ui/veltra_dlg.h"

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    veltra::WindowSystem windows(argc, argv, veltra::CVeltraApp::Identity());
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: veltra_screenshot <folder> [image.rom]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    veltra::ScriptedPrompts prompts;
    veltra::testing::TempDir dir;
    veltra::testing::ImageSpec spec;
    spec.board = veltra::BoardModel::Gtx670;
    const auto sample = dir.write("GTX670_sample.rom", veltra::testing::buildImage(spec));
    prompts.openAnswers.push_back(argc == 3 ? veltra::pathFromText(argv[2]) : sample);

    veltra::CVeltraDlg dlg;
    dlg.Create();
    dlg.ShowWindow(true);
    dlg.OnOpenBios();
    if (!prompts.messages.empty()) {
        std::fprintf(stderr, "loading the sample failed: %s\n", prompts.messages.front().c_str());
        return 1;
    }
    auto& tabs = dynamic_cast<veltra::CTabCtrl&>(*dlg.GetDlgItem(veltra::res::tabControlId));
    for (int i = 0; i < tabs.GetItemCount(); ++i) {
        veltra::qt::tabBarOf(tabs)->setCurrentIndex(i);
        QApplication::processEvents();
        const QString name = QString::fromLatin1(veltra::res::tabCaptions[i]).toLower() + QStringLiteral(".png");
        const QString file = QDir(folder).filePath(name);
        if (!veltra::qt::widgetOf(dlg)->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}

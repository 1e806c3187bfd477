// Times the editor window on the Qt backend against plain Qt doing the same
// amount of work:
//   - constructing and showing CVeltraDlg up to its first painted frame,
//     against a bare QDialog of the same size with as many plain children;
//   - LoadAndShow of a sample image, against loadRomFile of the same file.
// Prints the median of each and their ratios.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>
#include <vector>

#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"
#include "ui/framework/qt/qt_backend.h"
#include "ui/framework/scripted_prompts.h"
#include "ui/framework/window_system.h"
#include "ui/veltra_app.h"
#include "ui/veltra_dlg.h"

namespace {

// Counts paint events reaching a window.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void showUntilPainted(QWidget& window)
{
    PaintWatch watch;
    window.installEventFilter(&watch);
    window.show();
    while (!watch.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    window.removeEventFilter(&watch);
}

// Rebuilds `original`'s widget tree on `copy` from stock Qt widgets of the
// same kinds, texts and places (a QTabWidget for the tab control and its
// pages): what the window would cost without our layer.
void copyWithStockWidgets(const QWidget& original, QWidget& copy)
{
    for (QWidget* child : original.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        QWidget* made = nullptr;
        if (auto* button = dynamic_cast<QPushButton*>(child)) {
            made = new QPushButton(button->text(), &copy);
        } else if (auto* edit = dynamic_cast<QLineEdit*>(child)) {
            auto* plain = new QLineEdit(edit->text(), &copy);
            plain->setReadOnly(edit->isReadOnly());
            plain->setAlignment(edit->alignment());
            made = plain;
        } else if (auto* label = dynamic_cast<QLabel*>(child)) {
            auto* plain = new QLabel(label->text(), &copy);
            if (!label->pixmap().isNull())
                plain->setPixmap(label->pixmap());
            made = plain;
        } else if (auto* bar = child->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
            // Qt's own tab control holds its pages itself.
            auto* plain = new QTabWidget(&copy);
            plain->setGeometry(child->geometry());
            int index = 0;
            for (QWidget* page : child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (page == bar)
                    continue;
                auto* stockPage = new QWidget;
                copyWithStockWidgets(*page, *stockPage);
                plain->addTab(stockPage, bar->tabText(index++));
            }
            continue;
        } else if (dynamic_cast<QGroupBox*>(child)) {
            made = new QGroupBox(&copy);
        } else if (auto* frame = dynamic_cast<QFrame*>(child)) {
            auto* plain = new QFrame(&copy);
            plain->setFrameStyle(frame->frameStyle());
            made = plain;
        } else {
            made = new QWidget(&copy);
        }
        made->setGeometry(child->geometry());
        made->setVisible(child->isVisibleTo(&original));
        copyWithStockWidgets(*child, *made);
    }
}

double micros(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::tuple<double, double, double> interleavedMedians(int runs, const std::function<void()>& a,
                                                      const std::function<void()>& b, const std::function<void()>& c)
{
    std::vector<double> ta, tb, tc;
    for (int i = 0; i < runs; ++i) {
        ta.push_back(micros(a));
        tb.push_back(micros(b));
        tc.push_back(micros(c));
    }
    return {median(ta), median(tb), median(tc)};
}

double medianMicros(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    veltra::WindowSystem windows(argc, argv, veltra::CVeltraApp::Identity());
    veltra::ScriptedPrompts prompts;

    int children = 0;
    QSize size;
    {
        veltra::CVeltraDlg probe;
        probe.Create();
        children = static_cast<int>(veltra::qt::widgetOf(probe)->findChildren<QWidget*>().size());
        size = veltra::qt::widgetOf(probe)->size();
    }

    veltra::CVeltraDlg shape;
    shape.Create();
    const auto showWindow = [] {
        veltra::CVeltraDlg dlg;
        dlg.Create();
        showUntilPainted(*veltra::qt::widgetOf(dlg));
    };
    const auto showStock = [&] {
        QDialog dialog;
        dialog.setFixedSize(size);
        copyWithStockWidgets(*veltra::qt::widgetOf(shape), dialog);
        showUntilPainted(dialog);
    };
    const auto showBare = [&] {
        QDialog dialog;
        dialog.setFixedSize(size);
        for (int i = 0; i < children; ++i) {
            auto* child = new QWidget(&dialog);
            child->setGeometry((i % 20) * 20, (i / 20) * 20, 18, 18);
        }
        showUntilPainted(dialog);
    };
    // Interleaved, so that load from other programs falls on all three alike.
    const auto [window, stock, bare] = interleavedMedians(101, showWindow, showStock, showBare);

    veltra::testing::TempDir dir;
    const auto sample = dir.write("sample.rom", veltra::testing::buildImage(veltra::testing::ImageSpec{}));
    veltra::CVeltraDlg dlg;
    dlg.Create();
    dlg.ShowWindow(true);
    const double loadAndShow = medianMicros(201, [&] { dlg.LoadAndShow(sample); });
    const double loadOnly = medianMicros(201, [&] {
        veltra::BiosInfo info;
        veltra::loadRomFile(sample, info);
    });
    if (!prompts.messages.empty()) {
        std::fprintf(stderr, "bench_window: the sample did not load: %s\n", prompts.messages.front().c_str());
        return 1;
    }

    std::printf("window to first frame: %.0f us\n", window);
    std::printf("  against the same widgets built from stock Qt classes: %.0f us, ratio %.2f (target <= 1.30)\n",
                stock, window / stock);
    std::printf("  against a bare dialog with %d empty children: %.0f us, ratio %.2f\n", children, bare,
                window / bare);
    std::printf("LoadAndShow: %.0f us, loadRomFile: %.0f us, ratio %.2f; LoadAndShow is %.1f%% of a 16 ms frame\n",
                loadAndShow, loadOnly, loadAndShow / loadOnly, loadAndShow / 16000.0 * 100.0);
    return 0;
}

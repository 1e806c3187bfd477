#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QWindow>

#include "ui/veltra_app.h"
#include "window_fixture.h"

// Files from outside: the command line, files dropped on the window, and the
// question before a file replaces typed values.
namespace veltra::testing {
namespace {

struct ProgramCase {
    const char* name;
    QStringList arguments;
    int exitCode;
    QString standardOutput;
    QString standardError;
};

void PrintTo(const ProgramCase& c, std::ostream* out)
{
    *out << c.name;
}

class Program : public ::testing::TestWithParam<ProgramCase> {};

// What the program prints ends it at once, without a window. The usage names
// the program as it was started.
TEST_P(Program, PrintsAndEndsWithoutAWindow)
{
    TempDir runtime;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", qpath(runtime.path()));
    program.setProcessEnvironment(environment);
    program.start(VELTRA_PROGRAM, GetParam().arguments);
    ASSERT_TRUE(program.waitForFinished(30000));
    const auto named = [](QString text) { return text.replace("%PROGRAM%", VELTRA_PROGRAM); };
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), GetParam().exitCode);
    EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardOutput()), named(GetParam().standardOutput));
    EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardError()), named(GetParam().standardError));
}

const QString usage =
    "Usage: %PROGRAM% [options] [FILE]\n"
    "Edits the video BIOS images of GeForce GTX 660 Ti, 670 and 680 boards.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Shows this help.\n"
    "  -v, --version  Shows the version.\n"
    "\n"
    "Arguments:\n"
    "  FILE           BIOS file to open at start.\n";

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Program,
    ::testing::Values(ProgramCase{"Help", {"--help"}, 0, usage, ""},
                      ProgramCase{"ShortHelp", {"-h"}, 0, usage, ""},
                      ProgramCase{"Version", {"--version"}, 0, "Veltra 1.1\n", ""},
                      ProgramCase{"HelpWinsOverAFile", {"card.rom", "--help"}, 0, usage, ""},
                      ProgramCase{"UnknownOption", {"--bogus", "card.rom"}, 2, "", "Unknown option 'bogus'.\n\n" + usage},
                      ProgramCase{"TwoFiles", {"a.rom", "b.rom"}, 2, "", "Give one FILE at most.\n\n" + usage}),
    [](const auto& info) { return std::string(info.param.name); });

class StartWithFile : public ::testing::Test {
protected:
    // Runs `veltra ARGUMENTS`; the window's state is read while it is shown.
    void run(const QStringList& arguments)
    {
        prompts.whenModal = [this](QDialog& window) {
            auto& dlg = dynamic_cast<CVeltraDlg&>(window);
            shownFile = dynamic_cast<QLineEdit&>(*dlg.GetDlgItem(res::fileNameEditId)).text();
            shownPath = dlg.FilePath();
            visible = dlg.isVisible();
            return int{QDialog::Rejected};
        };
        EXPECT_FALSE(theApp.RunCommandLine(QStringList{"veltra"} + arguments));
        EXPECT_EQ(theApp.ExitInstance(), 0);
    }

    ScriptedPrompts prompts;
    TempDir dir;
    QString shownFile;
    QString shownPath;
    bool visible = false;
};

TEST_F(StartWithFile, OpensItAsOpenBiosWould)
{
    const auto path = dir.write("card.rom", buildImage(ImageSpec{}));
    // A name relative to the current folder becomes the full path.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(qpath(dir.path()));
    run({"card.rom"});
    QDir::setCurrent(previous);

    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(texts(prompts.modalTitles), std::vector<std::string>{"Veltra v1.1"});
    EXPECT_TRUE(visible);
    EXPECT_EQ(shownFile, "card.rom");
    EXPECT_EQ(QDir::cleanPath(shownPath), QDir::cleanPath(qpath(path)));
    EXPECT_EQ(prompts.openQuestions, 0);
}

TEST_F(StartWithFile, AFileThatDoesNotLoadGivesTheLoadsMessagesThenTheEmptyWindow)
{
    run({qpath(dir / "missing.rom")});
    EXPECT_EQ(texts(prompts.messages), (std::vector<std::string>{"Cannot open bios file!", "Load bios file failed!"}));
    EXPECT_EQ(texts(prompts.modalTitles), std::vector<std::string>{"Veltra v1.1"});
    EXPECT_EQ(shownFile, "");
    EXPECT_EQ(shownPath, "");
}

TEST_F(StartWithFile, WithoutAFileTheEmptyWindowRuns)
{
    run({});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(texts(prompts.modalTitles), std::vector<std::string>{"Veltra v1.1"});
    EXPECT_EQ(shownFile, "");
    EXPECT_EQ(QCoreApplication::applicationName(), "Veltra");
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.1");
}

// A drag from a file manager, delivered through the window as the platform
// delivers it, over `target`.
class DropTest : public WindowTest {
protected:
    // Whether the window took the drag, and then the drop.
    bool drop(const QList<QUrl>& urls, QWidget& target, std::optional<QPoint> where = std::nullopt)
    {
        QMimeData data;
        data.setUrls(urls);
        data.setText(urls.isEmpty() ? QString() : urls.front().toString());
        QWindow* window = dlg.windowHandle();
        const QPointF at = window->mapFromGlobal(target.mapToGlobal(where.value_or(target.rect().center())));
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(window, &leave);
            return false;
        }
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &dropped);
        return dropped.isAccepted();
    }

    QUrl file(const std::filesystem::path& path) { return QUrl::fromLocalFile(qpath(path)); }
};

TEST_F(DropTest, OneFileOpensWhereverItIsDropped)
{
    ImageSpec spec;
    spec.fanMax = 77;
    const auto path = writeImage("dropped.rom", spec);
    QWidget* targets[] = {&button(res::saveBiosButtonId), &edit(res::boardEditId),
                          &pageEdit(frequencyTab, res::gpuClockEditId), &dlg.Page(frequencyTab)};
    for (QWidget* target : targets) {
        open(writeImage("first.rom", ImageSpec{}));
        EXPECT_TRUE(drop({file(path)}, *target));
        EXPECT_TRUE(prompts.messages.empty());
        EXPECT_EQ(edit(res::fileNameEditId).text(), "dropped.rom");
        EXPECT_EQ(dlg.FilePath(), qpath(path));
        EXPECT_EQ(pageEdit(fanTab, res::fanMaxEditId).text(), "77");
        // A file dropped on an edit is not typed into it.
        EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).text(), "1006.00");
    }
}

TEST_F(DropTest, SeveralFilesAreRefusedAndFilesFromElsewhereNotTaken)
{
    open(writeImage("first.rom", ImageSpec{}));
    const auto before = visibleState();
    const auto a = writeImage("a.rom", ImageSpec{});
    const auto b = writeImage("b.rom", ImageSpec{});

    EXPECT_TRUE(drop({file(a), file(b)}, dlg.Page(frequencyTab)));
    EXPECT_EQ(texts(prompts.messages), std::vector<std::string>{"Drop one bios file at a time!"});
    EXPECT_EQ(visibleState(), before);

    prompts.messages.clear();
    EXPECT_FALSE(drop({QUrl("https://example.com/card.rom")}, dlg.Page(frequencyTab), QPoint(2, 2)));
    EXPECT_FALSE(drop({file(a), QUrl("https://example.com/card.rom")}, edit(res::nameEditId)));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(visibleState(), before);
}

enum class Arrival { OpenBios, Drop };

struct ReplaceCase {
    const char* name;
    Arrival arrival;
    std::optional<bool> answer;  // unset: nothing typed, no question
};

class ReplaceEdits : public DropTest, public ::testing::WithParamInterface<ReplaceCase> {};

// A file replaces typed values only after the user agreed; No keeps the
// window, typed text included, as it was.
TEST_P(ReplaceEdits, AsksBeforeAFileReplacesTypedValues)
{
    const ReplaceCase& c = GetParam();
    open(writeImage("first.rom", ImageSpec{}));
    if (c.answer) {
        typeInto(powerTab, res::powerMaxEditId, "240");
        prompts.yesNoAnswers.push_back(*c.answer);
    }
    ImageSpec next;
    next.powerMaxMilliwatts = 300000;
    const auto path = writeImage("next.rom", next);
    const auto before = visibleState();

    if (c.arrival == Arrival::OpenBios) {
        prompts.openAnswers.push_back(qpath(path));
        press(Qt::Key_O, Qt::ControlModifier);
    } else {
        drop({file(path)}, dlg.Page(powerTab));
    }

    EXPECT_EQ(texts(prompts.questions),
              c.answer ? std::vector<std::string>{"Discard unsaved edits?"} : std::vector<std::string>{});
    EXPECT_TRUE(prompts.messages.empty());
    if (c.answer.value_or(true)) {
        EXPECT_EQ(edit(res::fileNameEditId).text(), "next.rom");
        EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).text(), "300");
    } else {
        EXPECT_EQ(visibleState(), before);
        EXPECT_EQ(pageEdit(powerTab, res::powerMaxEditId).text(), "240");
    }
}

INSTANTIATE_TEST_SUITE_P(Arrivals, ReplaceEdits,
                         ::testing::Values(ReplaceCase{"OpenUnedited", Arrival::OpenBios, std::nullopt},
                                           ReplaceCase{"OpenEditedNo", Arrival::OpenBios, false},
                                           ReplaceCase{"OpenEditedYes", Arrival::OpenBios, true},
                                           ReplaceCase{"DropUnedited", Arrival::Drop, std::nullopt},
                                           ReplaceCase{"DropEditedNo", Arrival::Drop, false},
                                           ReplaceCase{"DropEditedYes", Arrival::Drop, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The question comes once a file was chosen: cancelling the dialog asks nothing.
TEST_F(DropTest, CancellingOpenWithTypedValuesAsksNothing)
{
    open(writeImage("first.rom", ImageSpec{}));
    typeInto(voltageTab, res::voltageEditId, "1200");
    const auto before = visibleState();
    clickButton(res::openBiosButtonId);
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(visibleState(), before);
}

}  // namespace
}  // namespace veltra::testing

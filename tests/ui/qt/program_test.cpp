#include <QProcess>
#include <gtest/gtest.h>

// The program's command line is read before Qt starts: what only prints
// needs no display, even where no platform Qt could start on exists.
namespace veltra::testing {
namespace {

TEST(Program, PrintsWithoutStartingAWindowSystem)
{
    const struct {
        QStringList arguments;
        int exitCode;
        const char* firstLine;
        bool toStandardOutput;
    } cases[] = {
        {{"--help"}, 0, "Edits the video BIOS images of GeForce 600 and 700 series (Kepler) boards.", true},
        {{"--version"}, 0, "Veltra 1.1", true},
        {{"--bogus"}, 2, "The following argument was not expected: --bogus", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front().toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "no-such-platform");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        program.setProcessEnvironment(environment);
        program.start(VELTRA_PROGRAM, c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray err = program.readAllStandardError();
        const QByteArray& printed = c.toStandardOutput ? out : err;
        EXPECT_TRUE(printed.startsWith(c.firstLine)) << printed.toStdString();
        EXPECT_TRUE((c.toStandardOutput ? err : out).isEmpty()) << (c.toStandardOutput ? err : out).toStdString();
    }
}

}  // namespace
}  // namespace veltra::testing

// Whole runs of a small program on the Qt backend, each in a process of
// its own, since quitting is once per process.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {
struct SmokeCase {
    QStringList arguments;
    int exitCode;
};

int RunSmoke(const QStringList& arguments) {
    QProcess smoke;
    smoke.setProcessChannelMode(QProcess::ForwardedChannels);
    smoke.start(TAMZEL_QT_SMOKE, arguments);
    if (!smoke.waitForFinished(50000)) {
        smoke.kill();
        smoke.waitForFinished();
        return -1;
    }
    return smoke.exitStatus() == QProcess::NormalExit ? smoke.exitCode() : -2;
}
} // namespace

TEST(QtSmokeTest, ProgramEndsWithTheRuntimesExitStatus) {
    const SmokeCase cases[] = {
        {{"quit", "3"}, 3}, {{"quit", "0"}, 0},  {{"quit", "7"}, 7},
        {{"menu-quit"}, 0}, {{"close-main"}, 0}, {{"about-ctrl-q"}, 0},
    };
    for (const SmokeCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_EQ(RunSmoke(c.arguments), c.exitCode);
    }
}

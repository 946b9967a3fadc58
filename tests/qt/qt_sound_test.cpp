// Sounds play on after the runtime let them go, and a machine without an
// audio device neither crashes nor hangs.

#include "qt_test_support.h"

#include "runtime/platform.h"

#include <QEventLoop>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>

TEST(QtSoundTest, ChimePlaysOnItsOwnAndGoesWhenDone) {
    EXPECT_EQ(QCoreApplication::instance()->findChild<QMediaPlayer*>(), nullptr)
        << "nothing of Qt Multimedia exists before the first sound";
    RuntimePlatform().PlaySound(TAMZEL_RESOURCES_DIR "/Mac_Chime.m4a");
    QPointer<QMediaPlayer> player = QCoreApplication::instance()->findChild<QMediaPlayer*>();
    ASSERT_TRUE(player);
    EXPECT_EQ(player->parent(), QCoreApplication::instance());

    // The player deletes itself at the end of the sound (or on an error);
    // the test's timeout is the only limit on how long that may take.
    // Polled: QMediaPlayer disconnects its signals, destroyed() included,
    // before it goes.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!player)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    EXPECT_FALSE(player);
}

// Sounds. Qt Multimedia (and GStreamer under it) starts with the first
// sound, not with the program.

#include "qt_backend.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaPlayer>
#include <QUrl>

namespace {
// A file: URL from the path's bytes: a QString path would lose a byte that
// is not UTF-8, where the encoded URL keeps it.
QUrl FileUrl(const std::string& path) {
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}
} // namespace

void QtPlatform::PlaySound(const std::string& path) {
    // One player per sound, owned by the application rather than a window,
    // so the sound plays on after the runtime's Sound and any window have
    // gone; it deletes itself when done.
    auto* player = new QMediaPlayer(QCoreApplication::instance());
    player->setObjectName("soundPlayer");
    player->setAudioOutput(new QAudioOutput(player));
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player,
                     [player](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia ||
                             status == QMediaPlayer::InvalidMedia)
                             player->deleteLater();
                     });
    QObject::connect(player, &QMediaPlayer::errorOccurred, player,
                     [player] { player->deleteLater(); });
    player->setSource(FileUrl(path));
    player->play();
}

#include "qt_drop.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace {
// One line of a text/uri-list. QUrl::toLocalFile() decodes to a QString,
// which turns a byte that is not UTF-8 into U+FFFD; the percent-encoded form
// is decoded to bytes here instead, so every name arrives as it is on disk.
std::optional<std::string> LocalPath(QByteArray uri) {
    if (!uri.toLower().startsWith("file:"))
        return std::nullopt;
    QByteArray rest = uri.mid(5);
    if (rest.startsWith("//")) {
        const qsizetype slash = rest.indexOf('/', 2);
        if (slash < 0)
            return std::nullopt;
        const QByteArray host = rest.mid(2, slash - 2).toLower();
        if (!host.isEmpty() && host != "localhost")
            return std::nullopt;
        rest = rest.mid(slash);
    }
    for (char end : {'?', '#'})
        if (const qsizetype at = rest.indexOf(end); at >= 0)
            rest.truncate(at);
    const QByteArray path = QByteArray::fromPercentEncoding(rest);
    if (path.isEmpty())
        return std::nullopt;
    return std::string(path.constData(), std::size_t(path.size()));
}
} // namespace

std::vector<std::optional<std::string>> QtDroppedPaths(const QMimeData& data) {
    std::vector<std::optional<std::string>> items;
    if (data.hasFormat("text/uri-list")) {
        for (QByteArray line : data.data("text/uri-list").split('\n')) {
            line = line.trimmed();
            if (!line.isEmpty() && !line.startsWith('#'))
                items.push_back(LocalPath(line));
        }
        return items;
    }
    // Another form of URL list, which only Qt can read.
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) {
            items.emplace_back();
            continue;
        }
        const QByteArray path = QFile::encodeName(url.toLocalFile());
        items.emplace_back(std::string(path.constData(), std::size_t(path.size())));
    }
    return items;
}

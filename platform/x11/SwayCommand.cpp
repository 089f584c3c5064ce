#include "platform/x11/SwayCommand.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QtEndian>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr qsizetype kMagicLength = sizeof kMagic - 1;
constexpr uint32_t kRunCommand = 0;
constexpr int kAnswerWaitMs = 1000;

void appendWord(QByteArray& bytes, uint32_t word)
{
    // The protocol's integers are in the host's byte order.
    std::array<char, sizeof word> raw{};
    static_assert(sizeof raw == 4);
    qToUnaligned(word, raw.data());
    bytes.append(raw.data(), static_cast<qsizetype>(raw.size()));
}

// Reads exactly `count` bytes, waiting for them up to the answer time.
bool readExactly(QLocalSocket& socket, qsizetype count, QByteArray& into)
{
    into.clear();
    while (into.size() < count) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kAnswerWaitMs)) {
            return false;
        }
        into.append(socket.read(count - into.size()));
    }
    return true;
}

} // namespace

bool runSwayCommand(const std::string& command)
{
    const QString path = qEnvironmentVariable("SWAYSOCK");
    if (path.isEmpty()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kAnswerWaitMs)) {
        return false;
    }
    QByteArray message(kMagic, kMagicLength);
    appendWord(message, static_cast<uint32_t>(command.size()));
    appendWord(message, kRunCommand);
    message.append(command.data(), static_cast<qsizetype>(command.size()));
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerWaitMs)) {
        return false;
    }
    QByteArray header;
    if (!readExactly(socket, kMagicLength + 8, header) || !header.startsWith(kMagic)) {
        return false;
    }
    const auto length = qFromUnaligned<uint32_t>(header.constData() + kMagicLength);
    QByteArray answer;
    if (length > (1U << 20) || !readExactly(socket, static_cast<qsizetype>(length), answer)) {
        return false;
    }
    // One result per command, e.g. [{"success": true}]; criteria that match nothing fail too.
    const QJsonArray results = QJsonDocument::fromJson(answer).array();
    return !results.isEmpty() && std::ranges::all_of(results, [](const QJsonValue& result) {
        return result.toObject().value("success").toBool();
    });
}

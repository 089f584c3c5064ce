#include "platform/x11/SwayIpc.h"

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
#include <optional>

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr qsizetype kMagicLength = sizeof kMagic - 1;
constexpr uint32_t kRunCommand = 0;
constexpr uint32_t kGetTree = 4;
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

// Sends one message of `type` and returns sway's answer; nothing without an answer.
std::optional<QByteArray> swayRequest(uint32_t type, const std::string& payload)
{
    const QString path = qEnvironmentVariable("SWAYSOCK");
    if (path.isEmpty()) {
        return std::nullopt;
    }
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kAnswerWaitMs)) {
        return std::nullopt;
    }
    QByteArray message(kMagic, kMagicLength);
    appendWord(message, static_cast<uint32_t>(payload.size()));
    appendWord(message, type);
    message.append(payload.data(), static_cast<qsizetype>(payload.size()));
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerWaitMs)) {
        return std::nullopt;
    }
    QByteArray header;
    if (!readExactly(socket, kMagicLength + 8, header) || !header.startsWith(kMagic)) {
        return std::nullopt;
    }
    const auto length = qFromUnaligned<uint32_t>(header.constData() + kMagicLength);
    QByteArray answer;
    if (length > (64U << 20) || !readExactly(socket, static_cast<qsizetype>(length), answer)) {
        return std::nullopt;
    }
    return answer;
}

// The content's top-left pixel of the node that shows X11 window `window`, searched depth first.
std::optional<Point> contentOrigin(const QJsonObject& node, qint64 window)
{
    if (node.value("window").toInteger(-1) == window) {
        const QJsonObject rect = node.value("rect").toObject();
        const QJsonObject inner = node.value("window_rect").toObject();
        return Point{rect.value("x").toInt() + inner.value("x").toInt(),
                     rect.value("y").toInt() + inner.value("y").toInt()};
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const auto& child : node.value(children).toArray()) {
            if (const std::optional<Point> found = contentOrigin(child.toObject(), window)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool runSwayCommand(const std::string& command)
{
    const std::optional<QByteArray> answer = swayRequest(kRunCommand, command);
    if (!answer) {
        return false;
    }
    // One result per command, e.g. [{"success": true}]; criteria that match nothing fail too.
    const QJsonArray results = QJsonDocument::fromJson(*answer).array();
    return !results.isEmpty() && std::ranges::all_of(results, [](const QJsonValue& result) {
        return result.toObject().value("success").toBool();
    });
}

SwayWindowPlace swayWindowPlace(uint64_t window)
{
    const std::optional<QByteArray> tree = swayRequest(kGetTree, {});
    if (!tree) {
        return {};
    }
    return {true, contentOrigin(QJsonDocument::fromJson(*tree).object(), static_cast<qint64>(window))};
}

// One Zentrap per user and display. The first start owns the X selection "ZENTRAP" on its display
// (so every spelling of the display, whatever the environment, finds it) and listens on a local
// socket whose path it leaves on the selection's window; a later start finds the selection owned,
// sends its request through that socket (come to the front, or one of the actions) and ends. The X
// server drops the selection of a process that dies, so a killed instance never blocks the next
// start. Without an X server the lock of a file in the user's runtime folder stands in for it.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
struct xcb_connection_t;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,          // this process is the one instance; requests of later starts arrive as signals
        AlreadyRunning, // another instance runs and has been sent the request
        Unavailable,    // no way to tell (no X server and no private runtime folder): run without the check
    };

    // `display` names the X display ("$DISPLAY"); `runtimeFolder` empty means
    // $XDG_RUNTIME_DIR, or a private folder in /tmp when that is not set.
    explicit SingleInstance(QString display, QString runtimeFolder = {}, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // `request` is what a later start asks of the running instance: "raise", or an action's name.
    Claim claim(const QString& request = QStringLiteral("raise"));
    // Whether the request of claim() reached the running instance (AlreadyRunning only).
    bool requestDelivered() const { return delivered_; }
    // Where the lock lives (empty before claim() or when unavailable).
    const QString& lockPath() const { return lockPath_; }

    // The display name reduced to what a file name may hold, one name per display whatever the
    // screen (":1.0" and ":1" are the same display).
    static QString displayKey(const QString& display);

signals:
    void raiseRequested();
    // Any other request of a later start: a word of letters and '-'.
    void actionRequested(const QString& action);

private:
    enum class Owner { Us, Other, NoServer };
    Owner claimDisplay(const QString& socketPath, QString& otherSocket);
    QString privateRuntimeFolder() const;
    bool lockSocketPath(const QString& base, QString& socketPath);
    bool sendRequest(const QString& socketPath, const QString& request);
    void listen(const QString& socketPath);

    QString display_;
    QString runtimeFolder_;
    QString lockPath_;
    int lockFd_ = -1;
    bool delivered_ = false;
    QLocalServer* server_ = nullptr;
    xcb_connection_t* x_ = nullptr; // holds the selection for as long as this object lives
};

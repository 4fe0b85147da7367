// The notification-area service the tray icon talks to, on Qt: the record
// of one icon, the add/modify/delete/set-version operations, the shared
// receiver of the tray's callback messages, and the implementation on
// QSystemTrayIcon that turns its activations into those messages.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QSystemTrayIcon;
class TCoolTrayIcon;

// Operations of the notification-area service.
constexpr unsigned NIM_ADD = 0;
constexpr unsigned NIM_MODIFY = 1;
constexpr unsigned NIM_DELETE = 2;
constexpr unsigned NIM_SETVERSION = 4;

// The record of one icon, with the fields and values the shell's published
// record of 488 bytes carries.
struct TNotifyIconData {
    std::uint32_t Size = 488;
    const void* Window = nullptr;          // the shared receiver
    std::uint32_t ID = 0;                  // unique per icon component
    std::uint32_t Flags = 7;               // message, icon and tip are valid
    std::uint32_t CallbackMessage = 2048;  // the first user message + 1024
    QIcon Icon;                            // null when it cannot be read
    QString Tip;                           // at most 127 characters
    std::uint32_t Version = 0;             // 0 or 3, by click protocol
};

// The service: true when the operation succeeded.
class TTrayShell {
public:
    virtual ~TTrayShell() = default;
    virtual bool NotifyIcon(unsigned operation, const TNotifyIconData& data) = 0;
};

// The service in use: the one installed last, else the Qt one.
TTrayShell& CurrentTrayShell();
// Installs a service (not owned); nullptr goes back to the Qt one. Returns
// the one installed before.
TTrayShell* InstallTrayShell(TTrayShell* shell);

// The one receiver of the tray's callback messages for all icons of the
// process: made with the first icon, released with the last.
class TTrayIconHandler {
public:
    static TTrayIconHandler* Acquire();
    static void Release();
    static TTrayIconHandler* Instance();

    void Register(std::uint32_t id, TCoolTrayIcon* icon);
    void Unregister(std::uint32_t id);
    // A callback message: the icon id and its mouse message. Other message
    // numbers are not the tray's and are ignored; false then.
    bool Callback(unsigned message, std::uint32_t id, unsigned mouseMessage);
    // The tray came back: every icon hears of it.
    void TaskbarCreated();

private:
    int references_ = 0;
    std::map<std::uint32_t, TCoolTrayIcon*> icons_;
};

// The service on QSystemTrayIcon. Clicks arrive as activations, which it
// turns into the mouse messages a tray sends; it watches whether a tray is
// there and tells the receiver when one comes (back).
class QtTrayShell : public QObject, public TTrayShell {
    Q_OBJECT
public:
    QtTrayShell();
    ~QtTrayShell() override;

    bool NotifyIcon(unsigned operation, const TNotifyIconData& data) override;

    // Whether a tray is there; QSystemTrayIcon's answer unless replaced.
    std::function<bool()> Available;
    // Looks whether the tray came or went: a tray that went takes its icons
    // with it; one that came is announced to every icon.
    void Poll();
    bool HasIcon(std::uint32_t id) const { return icons_.count(id) != 0; }

    // The mouse messages one activation of QSystemTrayIcon stands for.
    static std::vector<unsigned> MessagesOf(int activationReason);

private:
    void Apply(QSystemTrayIcon* icon, const TNotifyIconData& data);
    void Watch();

    std::map<std::uint32_t, std::unique_ptr<QSystemTrayIcon>> icons_;
    QTimer watch_;
    bool seen_ = false;
    bool available_ = false;
};

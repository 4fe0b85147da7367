#include "shell/TrayShell.h"

#include <QSystemTrayIcon>

#include "shell/CoolTrayIcon.h"

namespace {

TTrayShell* g_installed = nullptr;
TTrayIconHandler* g_handler = nullptr;

// How often the Qt service looks whether a tray is there.
constexpr int kWatchInterval = 1000;

} // namespace

TTrayShell& CurrentTrayShell()
{
    if (g_installed)
        return *g_installed;
    static QtTrayShell* qtShell = new QtTrayShell; // lives to the end of the program
    return *qtShell;
}

TTrayShell* InstallTrayShell(TTrayShell* shell)
{
    TTrayShell* previous = g_installed;
    g_installed = shell;
    return previous;
}

// --- the shared receiver -------------------------------------------------------

TTrayIconHandler* TTrayIconHandler::Acquire()
{
    if (!g_handler)
        g_handler = new TTrayIconHandler;
    ++g_handler->references_;
    return g_handler;
}

void TTrayIconHandler::Release()
{
    if (g_handler && --g_handler->references_ == 0) {
        delete g_handler;
        g_handler = nullptr;
    }
}

TTrayIconHandler* TTrayIconHandler::Instance()
{
    return g_handler;
}

void TTrayIconHandler::Register(std::uint32_t id, TCoolTrayIcon* icon)
{
    icons_[id] = icon;
}

void TTrayIconHandler::Unregister(std::uint32_t id)
{
    icons_.erase(id);
}

bool TTrayIconHandler::Callback(unsigned message, std::uint32_t id, unsigned mouseMessage)
{
    if (message != 2048)
        return false;
    const auto it = icons_.find(id);
    if (it == icons_.end())
        return false;
    it->second->HandleIconMessage(mouseMessage);
    return true;
}

void TTrayIconHandler::TaskbarCreated()
{
    // Copy: an icon may come or go while the others hear of it.
    const auto icons = icons_;
    for (const auto& [id, icon] : icons)
        if (icons_.count(id))
            icon->TaskbarCreated();
}

// --- the service on QSystemTrayIcon ------------------------------------------------

QtTrayShell::QtTrayShell()
    : Available([] { return QSystemTrayIcon::isSystemTrayAvailable(); })
{
    watch_.setInterval(kWatchInterval);
    connect(&watch_, &QTimer::timeout, this, &QtTrayShell::Poll);
}

QtTrayShell::~QtTrayShell() = default;

std::vector<unsigned> QtTrayShell::MessagesOf(int activationReason)
{
    using namespace TrayMessage;
    // The pointer is over the icon whenever it is clicked: each activation
    // begins with a move.
    switch (QSystemTrayIcon::ActivationReason(activationReason)) {
    case QSystemTrayIcon::Trigger: return {MouseMove, LeftButtonDown, LeftButtonUp};
    case QSystemTrayIcon::DoubleClick: return {MouseMove, LeftButtonDblClk, LeftButtonUp};
    case QSystemTrayIcon::Context: return {MouseMove, RightButtonDown, RightButtonUp};
    case QSystemTrayIcon::MiddleClick: return {MouseMove, MiddleButtonDown, MiddleButtonUp};
    case QSystemTrayIcon::Unknown: break;
    }
    return {};
}

void QtTrayShell::Watch()
{
    if (!seen_) {
        seen_ = true;
        available_ = Available();
    }
    if (!watch_.isActive())
        watch_.start();
}

void QtTrayShell::Poll()
{
    const bool now = Available();
    if (now == available_)
        return;
    available_ = now;
    // Icons of a tray that went are gone with it; a tray that came has none
    // of ours yet: each visible icon adds itself again when it hears of it.
    icons_.clear();
    if (now)
        if (TTrayIconHandler* handler = TTrayIconHandler::Instance())
            handler->TaskbarCreated();
}

void QtTrayShell::Apply(QSystemTrayIcon* icon, const TNotifyIconData& data)
{
    icon->setIcon(data.Icon);
    icon->setToolTip(data.Tip);
}

bool QtTrayShell::NotifyIcon(unsigned operation, const TNotifyIconData& data)
{
    Watch();
    const auto it = icons_.find(data.ID);
    switch (operation) {
    case NIM_ADD: {
        // Without a tray there is nowhere to add it: the icon comes when a
        // tray does.
        if (it != icons_.end() || !available_)
            return false;
        auto icon = std::make_unique<QSystemTrayIcon>();
        Apply(icon.get(), data);
        const std::uint32_t id = data.ID;
        connect(icon.get(), &QSystemTrayIcon::activated, this, [id](QSystemTrayIcon::ActivationReason reason) {
            for (unsigned m : MessagesOf(reason)) {
                TTrayIconHandler* handler = TTrayIconHandler::Instance();
                if (!handler || !handler->Callback(2048, id, m))
                    break;
            }
        });
        connect(icon.get(), &QSystemTrayIcon::messageClicked, this, [id] {
            if (TTrayIconHandler* handler = TTrayIconHandler::Instance())
                handler->Callback(2048, id, TrayMessage::BalloonUserClick);
        });
        icon->show();
        icons_[id] = std::move(icon);
        return true;
    }
    case NIM_MODIFY:
        if (it == icons_.end())
            return false;
        Apply(it->second.get(), data);
        return true;
    case NIM_DELETE:
        if (it == icons_.end())
            return false;
        // A click being delivered may still be running inside this icon.
        it->second->hide();
        it->second.release()->deleteLater();
        icons_.erase(it);
        return true;
    case NIM_SETVERSION:
        return it != icons_.end();
    }
    return false;
}

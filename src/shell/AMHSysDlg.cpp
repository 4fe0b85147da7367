#include "shell/AMHSysDlg.h"

#include "platform/Platform.h"

namespace {

constexpr const char* kAppletFiles[] = {
    "AppWiz.CPL", "BDEAdmin.CPL", "Desk.CPL",     "InetCPL.CPL",  "Intl.CPL",   "Joy.CPL",
    "Main.CPL",   "MMSys.CPL",    "Modem.CPL",    "NetCPL.CPL",   "OBDCCP32.CPL", "Password.CPL",
    "PowerCfg.CPL", "StiCPL.CPL", "SysDm.CPL",    "Telephon.CPL", "TimeDate.CPL",
};
constexpr int kApplets = int(sizeof kAppletFiles / sizeof kAppletFiles[0]);

} // namespace

QString AppletFile(TSysDlg dlg)
{
    const int i = int(dlg);
    return i >= 0 && i < kApplets ? QString::fromLatin1(kAppletFiles[i]) : QString();
}

TAMHSysDlg::TAMHSysDlg(QObject* owner)
    : TComponent(owner)
    , fileName_(AppletFile(TSysDlg::AppWiz))
{
}

void TAMHSysDlg::setSysDlg(TSysDlg dlg)
{
    if (dlg == sysDlg_ || int(dlg) < 0 || int(dlg) >= kApplets)
        return;
    sysDlg_ = dlg;
    fileName_ = AppletFile(dlg);
}

void TAMHSysDlg::setPage(int page)
{
    if (page == page_)
        return;
    page_ = page < 0 || page > 10 ? 0 : std::uint8_t(page);
}

QString TAMHSysDlg::CommandLine() const
{
    QString line = QStringLiteral("rundll32.exe Shell32.dll,Control_RunDLL ") + fileName_;
    if (page_ != 0)
        line += QStringLiteral(",,") + QString::number(page_);
    return line;
}

void TAMHSysDlg::Execute()
{
    CurrentPlatform().WinExec(CommandLine());
}

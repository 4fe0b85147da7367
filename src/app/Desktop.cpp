// The main window's desktop manners: the zoom animation around showing and
// closing, "Stay on Top", the tray menu's show and hide, help, the web site,
// the about box, the Info window and the control-panel applets.
#include "app/STSMain.h"
#include "platform/Platform.h"
#include "shell/About.h"
#include "shell/Size.h"
#include "shell/WebAddress.h"
#include "toolkit/Application.h"

namespace {

// The Windows help engine's command for a help file's contents.
constexpr unsigned HELP_CONTENTS = 3;

} // namespace

void TForm1::SmoothShow1Finishing(QObject*)
{
    // The closing outline has arrived: the window goes before the animation
    // gives it its region back.
    if (Smooth1->Reverse())
        hide();
}

void TForm1::SmoothShow1Finish(QObject*)
{
    // Asked again, the close now passes.
    if (Smooth1->Reverse())
        Close();
}

void TForm1::StayonTop1Click(QObject*)
{
    StayonTop1->setChecked(!StayonTop1->Checked());
    KTop1->setKTop(StayonTop1->Checked());
}

void TForm1::TrayShowClick(QObject*)
{
    show();
    ShowKestrix1->setEnabled(false);
    HideKestrix1->setEnabled(true);
}

void TForm1::CaptionButton1Click(QObject*)
{
    hide();
    ShowKestrix1->setEnabled(true);
    HideKestrix1->setEnabled(false);
}

void TForm1::mnHtmlHelpClick(QObject*)
{
    // No folder: the shell looks for it in the current folder.
    CurrentPlatform().ShellOpen(QStringLiteral("kestrix4.chm"));
}

void TForm1::mnWinHelpClick(QObject*)
{
    CurrentPlatform().WinHelp(Application().HelpFile(), HELP_CONTENTS, 0);
}

void TForm1::TolvaneWebsite1Click(QObject*)
{
    CurrentPlatform().ShellOpen(QString::fromLatin1(kWebSite));
}

void TForm1::About1Click(QObject*)
{
    // The application owns it; it frees itself when it closes.
    (new TAboutForm)->ShowModal();
}

void TForm1::SizeInfoButClick(QObject*)
{
    // Every click opens one more; each frees itself when it closes.
    (new TInfoForm)->show();
    SizeInfoBut->setDown(false);
}

TSysDlg TForm1::AppletOf(const QString& entryName)
{
    // MS1 .. MS15 (main menu) and MS16 .. MS30 (tray menu), in menu order.
    static constexpr TSysDlg kMenuOrder[15] = {
        TSysDlg::AppWiz, TSysDlg::SysDm,    TSysDlg::Desk,     TSysDlg::MMSys,   TSysDlg::Main,
        TSysDlg::NetCPL, TSysDlg::InetCPL,  TSysDlg::Intl,     TSysDlg::Joy,     TSysDlg::Modem,
        TSysDlg::Password, TSysDlg::PowerCfg, TSysDlg::StiCPL, TSysDlg::Telephon, TSysDlg::TimeDate,
    };
    bool ok = false;
    const int n = entryName.mid(2).toInt(&ok);
    if (!entryName.startsWith(QLatin1String("MS")) || !ok || n < 1 || n > 30)
        return TSysDlg::AppWiz;
    return kMenuOrder[(n - 1) % 15];
}

void TForm1::MS1Click(QObject* sender)
{
    if (!sender)
        return;
    SysDialog->setSysDlg(AppletOf(sender->objectName()));
    SysDialog->Execute();
}

void TForm1::SystemUtils(QObject*)
{
    // The utilities are Windows programs in the Windows folder: there is
    // nothing to start here (their menus are hidden).
}

// The control-panel applet launcher: command lines as text; on the fake
// platform nothing is started, the request is only recorded.
#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "shell/AMHSysDlg.h"

namespace {

const QString kRunner = QStringLiteral("rundll32.exe Shell32.dll,Control_RunDLL ");

TEST(AMHSysDlgTest, RightAfterCreationItOpensAddRemove)
{
    FakePlatform fake;
    ScopedPlatform scope(fake);
    TAMHSysDlg d;
    EXPECT_EQ(d.SysDlg(), TSysDlg::AppWiz);
    EXPECT_EQ(d.FileName(), QStringLiteral("AppWiz.CPL"));
    d.Execute();
    EXPECT_EQ(fake.Executed, QStringList{kRunner + QStringLiteral("AppWiz.CPL")});
}

TEST(AMHSysDlgTest, PagesAboveTenStoreZeroAndAPageEndsTheLine)
{
    TAMHSysDlg d;
    d.setSysDlg(TSysDlg::Desk);
    EXPECT_EQ(d.CommandLine(), kRunner + QStringLiteral("Desk.CPL"));
    d.setPage(2);
    EXPECT_EQ(d.CommandLine(), kRunner + QStringLiteral("Desk.CPL,,2"));
    d.setPage(3);
    EXPECT_EQ(d.CommandLine(), kRunner + QStringLiteral("Desk.CPL,,3"));
    d.setPage(11);
    EXPECT_EQ(d.Page(), 0);
    EXPECT_EQ(d.CommandLine(), kRunner + QStringLiteral("Desk.CPL"));
    d.setPage(10);
    EXPECT_EQ(d.Page(), 10);
}

TEST(AMHSysDlgTest, EveryAppletHasItsFileAndUnknownOnesAreIgnored)
{
    const char* files[] = {"AppWiz.CPL", "BDEAdmin.CPL", "Desk.CPL",     "InetCPL.CPL", "Intl.CPL",
                           "Joy.CPL",    "Main.CPL",     "MMSys.CPL",    "Modem.CPL",   "NetCPL.CPL",
                           "OBDCCP32.CPL", "Password.CPL", "PowerCfg.CPL", "StiCPL.CPL", "SysDm.CPL",
                           "Telephon.CPL", "TimeDate.CPL"};
    TAMHSysDlg d;
    for (int i = 16; i >= 0; --i) {
        d.setSysDlg(TSysDlg(i));
        EXPECT_EQ(d.FileName(), QString::fromLatin1(files[i])) << i;
    }
    d.setSysDlg(TSysDlg(17));
    d.setSysDlg(TSysDlg(-1));
    EXPECT_EQ(d.SysDlg(), TSysDlg::AppWiz);
    EXPECT_EQ(d.FileName(), QStringLiteral("AppWiz.CPL"));
}

} // namespace

// Opens one of the control-panel applets by starting the shell's
// control-panel runner with the applet's file and, optionally, a page.
#pragma once

#include <QString>
#include <cstdint>

#include "toolkit/Component.h"

enum class TSysDlg {
    AppWiz, BDEAdmin, Desk, InetCPL, Intl, Joy, Main, MMSys, Modem,
    NetCPL, OBDCCP32, Password, PowerCfg, StiCPL, SysDm, Telephon, TimeDate,
};

// The applet file of an applet ("AppWiz.CPL" ...).
QString AppletFile(TSysDlg dlg);

class TAMHSysDlg : public TComponent {
    Q_OBJECT
public:
    explicit TAMHSysDlg(QObject* owner = nullptr);

    TSysDlg SysDlg() const { return sysDlg_; }
    // Stores the applet and its file; a value outside the 17 applets is
    // ignored.
    void setSysDlg(TSysDlg dlg);
    // The applet's page, 0 for its first; values above 10 store 0.
    std::uint8_t Page() const { return page_; }
    void setPage(int page);
    // The applet's file, always that of SysDlg.
    QString FileName() const { return fileName_; }

    // The runner's command line for the applet and page.
    QString CommandLine() const;
    // Starts the command line as a program in a normal window; a command
    // that cannot be started is ignored.
    void Execute();

private:
    TSysDlg sysDlg_ = TSysDlg::AppWiz;
    std::uint8_t page_ = 0;
    QString fileName_;
};

// The Info window: a reference on cluster sizes of the common file
// systems, the measures of size, and what wasted space is.
#pragma once

#include <QStringList>

#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/Panel.h"
#include "widgets/LbSpeedButton.h"
#include "widgets/ProCtrls.h"

class TInfoForm : public TForm {
    Q_OBJECT
public:
    // Built without a parent: the application owns it, it is independent of
    // every other window, and it frees itself when it closes.
    TInfoForm();
    ~TInfoForm() override;

    TPanel* Panel1 = nullptr;
    TProPanel* ProPanel1 = nullptr;     // cluster sizes
    TGroupBox* GroupBox1 = nullptr;
    TGroupBox* GroupFat16 = nullptr;
    TGroupBox* GroupFat32 = nullptr;
    TGroupBox* GroupNtfs = nullptr;
    TProPanel* ProPanel2 = nullptr;     // measures
    TGroupBox* GroupMeasures = nullptr;
    TProPanel* ProPanel3 = nullptr;     // wasted space
    TGroupBox* GroupWasted = nullptr;
    TMemo* Memo1 = nullptr;
    TLbSpeedButton* CloseBut = nullptr;

    // The texts, in the order shown.
    static QStringList Fat16Lines();
    static QStringList Fat32Lines();
    static QStringList NtfsLines();
    static QStringList MeasureLines();
    static QStringList WastedSpaceLines();

    void CloseButClick(QObject* sender);
    void FormClose(QObject* sender, TCloseAction& action);
};

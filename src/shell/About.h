// The about box: the program's picture, name and version, a notice, the
// project's mail and web links and an OK button, on plain white.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "widgets/GPanel.h"
#include "widgets/LbSpeedButton.h"
#include "widgets/ProCtrls.h"
#include "widgets/ProUrl.h"

class TAboutForm : public TForm {
    Q_OBJECT
public:
    // Built without a parent: the application owns it, and it frees itself
    // when it closes. `picture` is the JPEG data of its picture (the one
    // compiled in when empty); a picture that cannot be read leaves the
    // box without one.
    explicit TAboutForm(const QByteArray& picture = QByteArray());
    ~TAboutForm() override;

    TGPanel* GPanel1 = nullptr;
    TImage* Image1 = nullptr;       // the picture
    TProLabel* ProLabel1 = nullptr; // "Kestrix"
    TLabel* Label1 = nullptr;       // "Version 4.0"
    TLabel* Label2 = nullptr;       // the notice
    TProUrlLabel* ProUrlLabel1 = nullptr; // mail
    TProUrlLabel* ProUrlLabel2 = nullptr; // web
    TLbSpeedButton* OKBut = nullptr;
    TProPanel* ProPanel1 = nullptr;
    TImage* Image2 = nullptr;       // the icon

    // The JPEG picture compiled into the program.
    static QByteArray BuiltInPicture();

    void OKButClick(QObject* sender);
    void FormClose(QObject* sender, TCloseAction& action);
};

// The splash screen: on screen, painted, while the main window is built.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Image.h"
#include "widgets/GPanel.h"
#include "widgets/ProCtrls.h"

class TSplashScreen : public TForm {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget* parent = nullptr);
    ~TSplashScreen() override;

    // Shows the window in the middle of the screen and paints it at once:
    // once the window system has exposed it, or after exposeWaitMs without.
    void ShowAndPaint(int exposeWaitMs = kExposeWaitMs);
    static constexpr int kExposeWaitMs = 300;
    // Whether the last ShowAndPaint found the window on the screen.
    bool Exposed = false;

    TGPanel* GPanel1 = nullptr;
    TProLabel* ProLabel1 = nullptr; // "Loading..."
    TProLabel* ProLabel2 = nullptr; // "Tolvane Kestrix"
    TProPanel* ProPanel1 = nullptr;
    TImage* Image1 = nullptr;
};

// The program's splash screen while it exists (nullptr otherwise); the main
// window hides it at the end of its creation.
extern TSplashScreen* SplashScreen;

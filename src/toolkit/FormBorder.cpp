// The border style and caption boxes of a form, as window flags.
#include "Form.h"

Qt::WindowFlags BorderWindowFlags(TFormBorderStyle style, TBorderIcons icons)
{
    using S = TFormBorderStyle;
    Qt::WindowFlags type = Qt::Window;
    if (style == S::bsDialog)
        type = Qt::Dialog;
    else if (style == S::bsToolWindow || style == S::bsSizeToolWin)
        type = Qt::Tool;
    if (style == S::bsNone)
        return type | Qt::FramelessWindowHint;

    // Customised: the window manager shows what is asked for and nothing else.
    Qt::WindowFlags flags = type | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (!(icons & biSystemMenu))
        return flags;
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    const bool minimize = (icons & biMinimize) && style != S::bsDialog;
    const bool maximize = (icons & biMaximize) && style != S::bsDialog;
    if (minimize)
        flags |= Qt::WindowMinimizeButtonHint;
    if (maximize)
        flags |= Qt::WindowMaximizeButtonHint;
    if ((icons & biHelp) && !minimize && !maximize)
        flags |= Qt::WindowContextHelpButtonHint;
    return flags;
}

void TForm::setBorderStyle(TFormBorderStyle style)
{
    borderStyle_ = style;
    ApplyBorder();
}

void TForm::setBorderIcons(TBorderIcons icons)
{
    borderIcons_ = icons;
    ApplyBorder();
}

void TForm::ApplyBorder()
{
    const Qt::WindowFlags flags = BorderWindowFlags(borderStyle_, borderIcons_);
    if (flags == windowFlags())
        return;
    // New flags take a shown window off the screen; it comes back as it was.
    const bool shown = isVisible();
    setWindowFlags(flags);
    if (shown)
        show();
}

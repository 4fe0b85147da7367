#include <QApplication>
#include <QStyleFactory>

#include "widgets/Fonts.h"
#include "widgets/Forms.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());

    TForm form;
    form.setCaption(QStringLiteral("Tolvane   -   Kestrix 4.0"));
    form.setColor(clGray);
    form.resize(686, 315);
    form.DoCreate();
    form.show();
    return app.exec();
}

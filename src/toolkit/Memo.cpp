#include "Memo.h"

#include <QTextBlock>

#include "Color.h"

TMemo::TMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(clWindow));
    pal.setColor(QPalette::Text, ToQColor(clWindowText));
    setPalette(pal);
    // Long lines wrap at the edge, as a memo does by default.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QStringList TMemo::Lines() const
{
    QStringList lines;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

void TMemo::setLines(const QStringList& lines)
{
    setPlainText(lines.join(QLatin1Char('\n')));
}

void TMemo::setVerticalScrollBar(bool on)
{
    setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

// A multi-line edit: lines of text, white, with optional scroll bars.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }

    // The lines as shown, one entry per line, blanks kept.
    QStringList Lines() const;
    void setLines(const QStringList& lines);
    // A vertical scroll bar that is always there.
    void setVerticalScrollBar(bool on);
};

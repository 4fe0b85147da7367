// The base of the non-visual components a form owns: a name, a tag, an
// owner, and a hook that runs once the form's layout is complete; and the
// plain event every component and control raises.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

using TNotifyEvent = std::function<void(QObject* sender)>;

// A non-visual component owned by a form (disk information, settings store,
// position saver, ...). Loaded() runs once the form's layout is complete,
// before the form's creation handler.
class TComponent : public QObject {
    Q_OBJECT
public:
    explicit TComponent(QObject* owner = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }
    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    QObject* Owner() const { return parent(); }

    virtual void Loaded() {}

private:
    int tag_ = 0;
};

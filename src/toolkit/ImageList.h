// A list of pictures of one size that other components refer to by index
// (the tray icon's animation frames, menu pictures).
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

#include "Component.h"

class TImageList : public TComponent {
    Q_OBJECT
public:
    explicit TImageList(QObject* owner = nullptr) : TComponent(owner) {}

    int Count() const { return int(images_.size()); }
    // Adds a picture; returns its index.
    int Add(const QImage& image)
    {
        images_.append(image);
        return Count() - 1;
    }
    void Clear() { images_.clear(); }
    // The picture at an index; null outside the list.
    QImage Image(int index) const { return index >= 0 && index < Count() ? images_[index] : QImage(); }
    // The picture at an index as an icon; a null icon outside the list.
    QIcon GetIcon(int index) const
    {
        const QImage img = Image(index);
        return img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img));
    }

private:
    QList<QImage> images_;
};

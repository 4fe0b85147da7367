// JPEG pictures decoded from memory with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

// The picture in RGB32; a null image for data that is not a whole,
// readable JPEG picture (never an exit or a crash).
QImage DecodeJpeg(const QByteArray& data);

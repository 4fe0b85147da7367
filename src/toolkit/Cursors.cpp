#include "Cursors.h"

#include <QPixmap>
#include <QString>
#include <iterator>
#include <optional>

#include "Pictures.h"

namespace {

// The registered cursors: number, picture (raw pixels made from
// resources/cursors/*.xpm at build time) and hot spot.
struct Entry {
    int id;
    const char* file;
    int hotX, hotY;
};
constexpr Entry kEntries[] = {
    {crProHandPoint, ":/raw/cursors/handpoint", 7, 1},
    {crProSmallHandPoint, ":/raw/cursors/smallhandpoint", 5, 1},
    {crProGrabHand, ":/raw/cursors/grabhand", 10, 10},
    {crProGrabHandArrow, ":/raw/cursors/grabhandarrow", 1, 1},
    {crProDragHand, ":/raw/cursors/draghand", 10, 10},
};

QCursor Load(const Entry& e)
{
    const QImage img = RawResourcePicture(QString::fromLatin1(e.file));
    return img.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(QPixmap::fromImage(img), e.hotX, e.hotY);
}

} // namespace

QCursor ProCursor(int id)
{
    // Start-up asks for the hand pointer only: each cursor is made the first
    // time it is asked for. Cursors belong to the GUI thread, as does this.
    static std::optional<QCursor> made[std::size(kEntries)];
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        if (kEntries[i].id != id)
            continue;
        if (!made[i])
            made[i] = Load(kEntries[i]);
        return *made[i];
    }
    return QCursor(Qt::ArrowCursor);
}

#include "Cursors.h"

#include <QPixmap>
#include <QString>
#include <map>

#include "Pictures.h"

namespace {

// The registered cursors: number, picture and hot spot.
const std::map<int, QCursor>& Cursors()
{
    static const std::map<int, QCursor> cursors = [] {
        InitResources();
        struct Entry {
            int id;
            const char* file;
            int hotX, hotY;
        };
        const Entry entries[] = {
            {crProHandPoint, ":/cursors/handpoint.xpm", 7, 1},
            {crProSmallHandPoint, ":/cursors/smallhandpoint.xpm", 5, 1},
            {crProGrabHand, ":/cursors/grabhand.xpm", 10, 10},
            {crProGrabHandArrow, ":/cursors/grabhandarrow.xpm", 1, 1},
            {crProDragHand, ":/cursors/draghand.xpm", 10, 10},
        };
        std::map<int, QCursor> m;
        for (const Entry& e : entries) {
            const QPixmap pix(QString::fromLatin1(e.file));
            m.emplace(e.id, pix.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(pix, e.hotX, e.hotY));
        }
        return m;
    }();
    return cursors;
}

} // namespace

QCursor ProCursor(int id)
{
    const auto& m = Cursors();
    const auto it = m.find(id);
    return it == m.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

#include "TSavedFormUnit.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QList>
#include <algorithm>
#include <cstdint>

#include "platform/IniFiles.h"
#include "platform/Platform.h"
#include "platform/SysUtils.h"
#include "toolkit/Form.h"

namespace {

TForm* RequireForm(QObject* owner)
{
    auto* form = qobject_cast<TForm*>(owner);
    if (!form)
        throw Exception(QStringLiteral("TSavedForm: owner is not a TForm"));
    return form;
}

// Where a window edge goes so that the window lies fully on a screen of the
// given extent: where it is when it fits, else moved the least distance; a
// window larger than the screen starts at the screen's edge. In 64 bits: a
// place typed into the file may be anything.
int OnScreen(int position, int extent, int screenExtent)
{
    if (extent >= screenExtent)
        return 0;
    return int(std::clamp<std::int64_t>(position, 0, std::int64_t(screenExtent) - extent));
}

// A corner held on the screen: a place whose corner lies off the screen
// altogether goes to the nearest edge.
int CornerOnScreen(int position, int screenExtent)
{
    return screenExtent > 0 ? std::clamp(position, 0, screenExtent - 1) : position;
}

// A size read from the file: one that would leave no window (0 or less)
// keeps the current size; one beyond the screen is cut to the screen, so a
// damaged file cannot ask for a window of gigabytes.
int SaneExtent(int read, int current, int screenExtent)
{
    if (read == current || read < 1)
        return current;
    return screenExtent > 0 ? std::min(read, screenExtent) : read;
}

} // namespace

TSavedForm::TSavedForm(QObject* owner)
    : TComponent(RequireForm(owner))
    , form_(static_cast<TForm*>(owner))
    , savedName_(form_->Name())
{
    UpdateKeyPrefix();
    formObject_ = form_.data();
    // To see the window's first activation after a load.
    form_->installEventFilter(this);
}

void TSavedForm::setSavedName(const QString& name)
{
    savedName_ = name;
    UpdateKeyPrefix();
}

void TSavedForm::UpdateKeyPrefix()
{
    const QSize screen = CurrentPlatform().ScreenSize();
    keyPrefix_ = savedName_ + QString::number(screen.width()) + QLatin1Char('x') + QString::number(screen.height());
}

QString TSavedForm::FileName() const
{
    return CurrentPlatform().ProgramFolder() + iniFile_;
}

void TSavedForm::CheckFolder() const
{
    const QString folder = QFileInfo(FileName()).path();
    // The program folder is the platform's to provide: an installed copy's
    // is made when the first file is written, so before that it is missing
    // and reads as an empty one.
    if (QDir::cleanPath(folder) == QDir::cleanPath(CurrentPlatform().ProgramFolder()))
        return;
    if (!QFileInfo(folder).isDir())
        throw Exception(QStringLiteral("TSavedForm: folder for ini file does not exist"));
}

bool TSavedForm::Granted(const TSFRequestProc& request)
{
    bool execute = true;
    if (request)
        request(this, execute);
    return execute;
}

void TSavedForm::LoadRequest()
{
    if (Granted(OnLoadRequest))
        Load();
}

void TSavedForm::SaveRequest()
{
    if (Granted(OnSaveRequest))
        Save();
}

void TSavedForm::Loaded()
{
    TComponent::Loaded();
    if (autoLoad_)
        LoadRequest();
}

void TSavedForm::Load(TIniFile* file)
{
    if (OnBeforeLoad)
        OnBeforeLoad(this);
    if (file) {
        LoadFrom(*file);
    } else {
        CheckFolder();
        const TIniFile ini(FileName());
        LoadFrom(ini);
    }
    if (OnAfterLoad)
        OnAfterLoad(this);
}

void TSavedForm::LoadFrom(const TIniFile& ini)
{
    UpdateKeyPrefix();
    if (!form_)
        return;
    // The keys of this load, read from one pass over the file.
    const QString suffixes[] = {QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("Top"),
                                QStringLiteral("Left"), QStringLiteral("State")};
    QList<TIniKey> keys;
    for (const QString& suffix : suffixes)
        keys.append({section_, keyPrefix_ + suffix});
    const QList<std::optional<QString>> values = ini.ReadStrings(keys);
    // The value of key k (an index into suffixes) as an integer, or the default.
    const auto read = [&values](int k, int defaultValue) {
        int value = 0;
        return values[k] && TryStrToInt(*values[k], value) ? value : defaultValue;
    };
    const QSize screen = CurrentPlatform().ScreenSize();
    const bool size = savedArgs_.Contains(saSize);
    const bool position = savedArgs_.Contains(saPosition);
    if (size) {
        const int width = read(0, form_->width());
        const int height = read(1, form_->height());
        form_->resize(SaneExtent(width, form_->width(), screen.width()),
                      SaneExtent(height, form_->height(), screen.height()));
    }
    if (position || size) {
        QPoint place = form_->pos();
        if (position) {
            if (centerForm_) {
                const QSize frame = form_->frameGeometry().size();
                place = QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2);
            }
            const int top = read(2, place.y());
            const int left = read(3, place.x());
            place = QPoint(left, top);
        }
        // A maximised window is on the screen already, and moving it would
        // restore it.
        if (!form_->isMaximized() && !form_->isFullScreen()) {
            form_->move(CornerOnScreen(place.x(), screen.width()), CornerOnScreen(place.y(), screen.height()));
            if (form_->isVisible()) {
                KeepOnScreen();
            } else {
                onScreenPending_ = true;
            }
        }
    }
    if (savedArgs_.Contains(saState)) {
        const int state = read(4, int(form_->WindowState()));
        // Only the three states there are; anything else leaves the state.
        if (state >= int(TWindowState::wsNormal) && state <= int(TWindowState::wsMaximized))
            form_->setWindowState(TWindowState(state));
    }
}

bool TSavedForm::eventFilter(QObject* watched, QEvent* event)
{
    // Compared as plain objects: the filter also sees the form's last events
    // while ~QWidget runs, when it is no TForm any more.
    if (event->type() == QEvent::WindowActivate && onScreenPending_ && watched == formObject_) {
        onScreenPending_ = false;
        // After the activation handlers, which give the window its size.
        QTimer::singleShot(0, this, [this] { KeepOnScreen(); });
    }
    return TComponent::eventFilter(watched, event);
}

void TSavedForm::KeepOnScreen()
{
    if (!form_ || form_->isMaximized() || form_->isFullScreen())
        return;
    const QSize screen = CurrentPlatform().ScreenSize();
    const QRect frame = form_->frameGeometry();
    const QPoint place(OnScreen(frame.x(), frame.width(), screen.width()),
                       OnScreen(frame.y(), frame.height(), screen.height()));
    if (place != frame.topLeft())
        form_->move(place);
}

bool TSavedForm::NormalRect(QRect& rect) const
{
    if (!form_)
        return false;
    if (!form_->isMaximized() && !form_->isFullScreen()) {
        // Normal or minimised: the window keeps its normal place.
        rect = QRect(form_->pos(), form_->size());
        return true;
    }
    // normalGeometry() is the client area of the restored window; its frame
    // starts where pos() stands to geometry() now.
    const QRect normal = form_->normalGeometry();
    if (!normal.isValid())
        return false;
    const QPoint frameOffset = form_->geometry().topLeft() - form_->pos();
    rect = QRect(normal.topLeft() - frameOffset, normal.size());
    return true;
}

void TSavedForm::Save(TIniFile* file)
{
    if (file) {
        SaveTo(*file);
    } else {
        CurrentPlatform().CreateProgramFolder();
        CheckFolder();
        TIniFile ini(FileName());
        SaveTo(ini);
    }
}

void TSavedForm::SaveTo(TIniFile& ini)
{
    UpdateKeyPrefix();
    QList<TIniEntry> entries;
    const auto put = [&](const char* suffix, int value) {
        entries.append({section_, keyPrefix_ + QLatin1String(suffix), QString::number(value)});
    };
    QRect normal;
    if (savedArgs_.Contains(saPosition) && NormalRect(normal)) {
        put("Left", normal.left());
        put("Top", normal.top());
    }
    if (savedArgs_.Contains(saSize) && NormalRect(normal)) {
        put("Width", normal.width());
        put("Height", normal.height());
    }
    if (savedArgs_.Contains(saState) && form_)
        put("State", int(form_->WindowState()));
    ini.WriteStrings(entries);
}

#include "shell/SimpleTimer.h"

#include <QObject>
#include <QTimerEvent>
#include <map>

namespace {

// The one receiver of every simple timer's ticks.
class TSimpleTimerHandler : public QObject {
public:
    static TSimpleTimerHandler* Acquire()
    {
        if (!instance_)
            instance_ = new TSimpleTimerHandler;
        ++instance_->references_;
        return instance_;
    }
    static void Release()
    {
        if (instance_ && --instance_->references_ == 0) {
            delete instance_;
            instance_ = nullptr;
        }
    }
    static TSimpleTimerHandler* Instance() { return instance_; }

    int Begin(TSimpleTimer* timer, unsigned interval)
    {
        const int id = startTimer(int(interval), Qt::CoarseTimer);
        if (id != 0) {
            timers_[id] = timer;
            ++running_;
        }
        return id;
    }
    bool End(int id)
    {
        if (timers_.erase(id) == 0)
            return false;
        killTimer(id);
        --running_;
        return true;
    }
    int Running() const { return running_; }

protected:
    void timerEvent(QTimerEvent* e) override
    {
        const auto it = timers_.find(e->timerId());
        if (it != timers_.end())
            it->second->Tick();
    }

private:
    static inline TSimpleTimerHandler* instance_ = nullptr;
    int references_ = 0;
    int running_ = 0;
    std::map<int, TSimpleTimer*> timers_;
};

} // namespace

TSimpleTimer::TSimpleTimer(unsigned interval, TTimerEvent onTimer)
    : interval_(interval)
    , onTimer_(std::move(onTimer))
{
    TSimpleTimerHandler::Acquire();
}

TSimpleTimer::~TSimpleTimer()
{
    Stop(true);
    TSimpleTimerHandler::Release();
}

bool TSimpleTimer::Start()
{
    if (interval_ == 0)
        return false;
    if (Running())
        Stop(false);
    const int id = TSimpleTimerHandler::Instance()->Begin(this, interval_);
    if (id == 0)
        return false;
    timerId_ = id;
    enabled_ = true;
    return true;
}

bool TSimpleTimer::Stop(bool disable)
{
    if (disable)
        enabled_ = false;
    if (!Running())
        return false;
    const bool ok = TSimpleTimerHandler::Instance()->End(timerId_);
    timerId_ = 0;
    return ok;
}

void TSimpleTimer::setEnabled(bool on)
{
    if (on)
        Start();
    else
        Stop(true);
}

void TSimpleTimer::setInterval(unsigned ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    if (!enabled_)
        return;
    if (ms == 0)
        Stop(false);
    else
        Start();
}

void TSimpleTimer::setOnTimer(TTimerEvent onTimer)
{
    onTimer_ = std::move(onTimer);
    if (!onTimer_ && enabled_)
        Stop(false);
}

void TSimpleTimer::Tick()
{
    if (autoDisable_)
        Stop(true);
    if (onTimer_)
        onTimer_(this);
}

int TSimpleTimer::RunningTimers()
{
    const TSimpleTimerHandler* h = TSimpleTimerHandler::Instance();
    return h ? h->Running() : 0;
}

bool TSimpleTimer::ReceiverExists()
{
    return TSimpleTimerHandler::Instance() != nullptr;
}

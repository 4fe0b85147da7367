// A lightweight timer whose ticks arrive on the GUI thread. All timers share
// one hidden receiver, made with the first timer and released with the last,
// which also counts the timers running.
#pragma once

#include <functional>

class TSimpleTimer {
public:
    using TTimerEvent = std::function<void(TSimpleTimer* sender)>;

    explicit TSimpleTimer(unsigned interval = 1000, TTimerEvent onTimer = {});
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // Starts the timer, stopping a running one first. Fails, leaving the
    // timer as it is, when the interval is 0 or no timer can be had.
    bool Start();
    // Stops a running timer; `disable` also clears Enabled.
    bool Stop(bool disable);

    bool Enabled() const { return enabled_; }
    // True starts, False stops and clears.
    void setEnabled(bool on);
    unsigned Interval() const { return interval_; }
    // A new interval restarts an enabled timer; 0 stops it but leaves it
    // enabled.
    void setInterval(unsigned ms);
    // Stops itself (and clears Enabled) at its first tick.
    bool AutoDisable() const { return autoDisable_; }
    void setAutoDisable(bool on) { autoDisable_ = on; }
    // An empty handler stops an enabled timer but leaves it enabled.
    void setOnTimer(TTimerEvent onTimer);

    // Whether a platform timer runs for it now.
    bool Running() const { return timerId_ != 0; }

    // The tick, as the shared receiver delivers it.
    void Tick();

    // Timers running in the process, and whether the shared receiver exists.
    static int RunningTimers();
    static bool ReceiverExists();

private:
    unsigned interval_;
    bool enabled_ = false;
    bool autoDisable_ = false;
    int timerId_ = 0;
    TTimerEvent onTimer_;
};

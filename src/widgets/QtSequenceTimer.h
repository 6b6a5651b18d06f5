#pragma once

#include "logic/SequenceTimer.h"

#include <QTimer>

namespace trv {

// A device dialog's Timer1: a QTimer whose timeout runs the handler set last. It lives on the
// thread of the step machine it drives; every call but qtimer() belongs on that thread.
class QtSequenceTimer : public SequenceTimer {
public:
    explicit QtSequenceTimer(QObject* owner = nullptr);

    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    void setInterval(int milliseconds) override;
    int interval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return timer_.isActive(); }

    QTimer& qtimer() { return timer_; }

private:
    void requireOwnThread() const;

    QTimer timer_;
    Handler handler_;
};

} // namespace trv

#include "ui/QtTimers.h"

#include <QTimer>

namespace kestrune::ui {

namespace {

class QtTimer final : public Timer {
public:
    QtTimer(int intervalMs, std::function<void()> onTick) {
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] {
            if (tick) tick();
        });
    }
    void Start() override { timer_.start(); }
    void Stop() override { timer_.stop(); }
    bool Running() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<Timer> QtTimers::Create(int intervalMs, std::function<void()> onTick) {
    return std::make_unique<QtTimer>(intervalMs, std::move(onTick));
}

}  // namespace kestrune::ui

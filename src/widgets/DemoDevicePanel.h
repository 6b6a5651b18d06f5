#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace trv::sim {
class SimulatedDevice;
}

namespace trv {

// The demo build's stand-in for the device's own keys and battery: what a practitioner does with
// the device in hand (stop a program, put in a charged battery, unplug the cable), so the whole
// road, resume included, can be tried without hardware. The device dialogs are modal, so the panel
// is used between them, as the device would be.
class DemoDevicePanel : public QWidget {
    Q_OBJECT
public:
    explicit DemoDevicePanel(sim::SimulatedDevice& device, QWidget* parent = nullptr);

    void refresh();

private:
    void stopKey();
    void recharge();
    void togglePlug();

    sim::SimulatedDevice& device_;
    QLabel* state_ = nullptr;
    QLabel* power_ = nullptr;
    QLabel* item_ = nullptr;
    QLabel* stored_ = nullptr;
    QPushButton* plugButton_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace trv

#include "widgets/DemoDevicePanel.h"

#include "sim/SimulatedDevice.h"
#include "widgets/DeviceWorker.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace trv {

namespace {

constexpr int RefreshMs = 500;
constexpr uint8_t ChargedPower = 130;

QString stateText(uint8_t code) {
    switch (code) {
    case 0:
    case 15:
        return QStringLiteral("idle (%1)").arg(code);
    case 17:
        return QStringLiteral("running, low power (17)");
    case 20:
        return QStringLiteral("waiting for Continue (20)");
    default:
        return QStringLiteral("running (%1)").arg(code);
    }
}

} // namespace

DemoDevicePanel::DemoDevicePanel(sim::SimulatedDevice& device, QWidget* parent)
    : QWidget(parent, Qt::Tool), device_(device) {
    setObjectName(QStringLiteral("DemoDevicePanel"));
    setWindowTitle(QStringLiteral("Simulated device"));

    auto* figures = new QFormLayout;
    state_ = new QLabel(this);
    power_ = new QLabel(this);
    item_ = new QLabel(this);
    stored_ = new QLabel(this);
    figures->addRow(QStringLiteral("State:"), state_);
    figures->addRow(QStringLiteral("Power level:"), power_);
    figures->addRow(QStringLiteral("Item:"), item_);
    figures->addRow(QStringLiteral("Stored program:"), stored_);

    auto* stopButton = new QPushButton(QStringLiteral("Stop key"), this);
    stopButton->setObjectName(QStringLiteral("StopKeyButton"));
    stopButton->setToolTip(QStringLiteral("Interrupt the running program; the device keeps it for a resume."));
    auto* rechargeButton = new QPushButton(QStringLiteral("Put in a charged battery"), this);
    rechargeButton->setObjectName(QStringLiteral("RechargeButton"));
    plugButton_ = new QPushButton(this);
    plugButton_->setObjectName(QStringLiteral("PlugButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addWidget(stopButton);
    layout->addWidget(rechargeButton);
    layout->addWidget(plugButton_);

    connect(stopButton, &QPushButton::clicked, this, &DemoDevicePanel::stopKey);
    connect(rechargeButton, &QPushButton::clicked, this, &DemoDevicePanel::recharge);
    connect(plugButton_, &QPushButton::clicked, this, &DemoDevicePanel::togglePlug);

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &DemoDevicePanel::refresh);
    timer_->start(RefreshMs);
    refresh();
}

void DemoDevicePanel::refresh() {
    // A device dialog's worker talks to the device meanwhile; the figures wait until it is done.
    if (DeviceWorker::deviceInUse())
        return;
    const bool plugged = device_.pluggedIn();
    state_->setText(plugged ? stateText(device_.stateCode()) : QStringLiteral("unplugged"));
    power_->setText(QString::number(device_.powerLevel()));
    const int item = device_.currentItem();
    item_->setText(item > 0 ? QStringLiteral("%1 of %2").arg(item).arg(device_.itemCount()) : QStringLiteral("none"));
    stored_->setText(device_.storedProgram() ? QStringLiteral("yes") : QStringLiteral("no"));
    plugButton_->setText(plugged ? QStringLiteral("Unplug the cable") : QStringLiteral("Plug the cable in"));
}

// The hand on the device waits while a device dialog's worker talks to it.
void DemoDevicePanel::stopKey() {
    DeviceWorker::whenDeviceFree(this, [this] {
        device_.pressStopKey();
        refresh();
    });
}

void DemoDevicePanel::recharge() {
    DeviceWorker::whenDeviceFree(this, [this] {
        device_.recharge(ChargedPower);
        refresh();
    });
}

void DemoDevicePanel::togglePlug() {
    DeviceWorker::whenDeviceFree(this, [this] {
        if (device_.pluggedIn())
            device_.unplug();
        else
            device_.replug();
        refresh();
    });
}

} // namespace trv

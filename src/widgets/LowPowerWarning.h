#pragma once

#include "logic/AppContext.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace trv {

// The low-power warning: created and localised at start-up, opened by nothing. Continue sets
// ctx.session.continueFlag before closing; Break only closes.
class LowPowerWarning : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 503;
    static constexpr int ClientHeight = 207;

    LowPowerWarning(AppContext& ctx, QWidget* parent = nullptr);

    void ContButtonClick();
    void BreakButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx_;
    QLabel* chargeLabel_ = nullptr;        // "Label1": the battery is dead, charge it
    QLabel* changeBatteryLabel_ = nullptr; // "Label2": put in a charged one and continue
    QLabel* breakLabel_ = nullptr;         // "Label3": or break
    QPushButton* continueButton_ = nullptr;
    QPushButton* breakButton_ = nullptr;
};

} // namespace trv

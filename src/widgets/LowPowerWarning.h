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
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* ContButton = nullptr;
    QPushButton* BreakButton = nullptr;
};

} // namespace trv

#pragma once

#include "logic/AppContext.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace trv {

// The self-test warning; its texts are not localised. Open it with exec(): it clears
// ctx.session.selfTestFlag when shown, and "Start" sets it before closing.
class SelfTestWarning : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 469;
    static constexpr int ClientHeight = 204;

    SelfTestWarning(AppContext& ctx, QWidget* parent = nullptr);

    void FormActivate();
    void StartButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx_;
    QLabel* accessoriesLabel_ = nullptr;   // "Label1": insert the accessories
    QLabel* startOrCancelLabel_ = nullptr; // "Label2": Start begins the test, Cancel leaves
    QPushButton* cancelButton_ = nullptr;
    QPushButton* startButton_ = nullptr;
};

} // namespace trv

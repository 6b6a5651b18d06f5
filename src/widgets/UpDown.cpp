#include "widgets/UpDown.h"

#include "program/ControlProgram.h"

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace trv {

UpDown::UpDown(QLineEdit& edit, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), edit_(edit), minimum_(minimum), maximum_(maximum), position_(minimum) {
    int32_t shown = 0;
    if (ParseIntegerText(edit_.text().toStdString(), shown))
        position_ = std::clamp<int32_t>(shown, minimum_, maximum_);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setFocusPolicy(Qt::NoFocus);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    up_->setGeometry(0, 0, width(), upper);
    down_->setGeometry(0, upper, width(), height() - upper);
}

void UpDown::step(int delta) {
    int32_t shown = 0;
    if (ParseIntegerText(edit_.text().toStdString(), shown))
        position_ = std::clamp<int32_t>(shown, minimum_, maximum_);
    position_ = std::clamp(position_ + delta, minimum_, maximum_);
    edit_.setText(QString::number(position_));
}

} // namespace trv

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace trv {

// Up-down buttons that step the integer in their edit field within [minimum, maximum]. The field
// stays free text: what is typed by hand is checked where it is used.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit& edit, int minimum, int maximum, QWidget* parent);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);

    QLineEdit& edit_;
    int minimum_;
    int maximum_;
    int position_; // the last value shown, used when the field holds no number
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

} // namespace trv

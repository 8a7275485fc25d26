#pragma once
// A round signal lamp: dark, lit in a colour, or blinking.

#include <QColor>
#include <QWidget>

class QTimer;

namespace tork {

class Lamp : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(QWidget* parent = nullptr);

    // Lit steadily in `colour`; an invalid colour puts the lamp out.
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    // Blinks in the current colour, on and off every `periodMs`.
    void setBlinking(bool blinking, int periodMs = 200);
    bool isBlinking() const;
    bool isLit() const { return colour_.isValid() && lit_; }

    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    bool lit_ = true;
    QTimer* blink_;
};

}  // namespace tork

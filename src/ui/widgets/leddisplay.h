#pragma once
// A number display in the style of an instrument's LED panel: lit digits on black.

#include <QColor>
#include <QWidget>

namespace tork {

class LedDisplay : public QWidget {
    Q_OBJECT
public:
    explicit LedDisplay(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_{0, 255, 0};
};

}  // namespace tork

#include "ui/widgets/fade.h"

#include <QVariantAnimation>

namespace tork {

void fadeOut(QWidget* window, int ms, std::function<void()> done)
{
    if (window->property("tork_fading").toBool()) return;
    window->setProperty("tork_fading", true);
    auto* animation = new QVariantAnimation(window);
    animation->setDuration(ms);
    animation->setStartValue(window->windowOpacity());
    animation->setEndValue(0.0);
    QObject::connect(animation, &QVariantAnimation::valueChanged, window,
                     [window](const QVariant& v) { window->setWindowOpacity(v.toDouble()); });
    QObject::connect(animation, &QVariantAnimation::finished, window, [window, done = std::move(done)] {
        window->setProperty("tork_fading", false);
        done();
        window->setWindowOpacity(1.0);
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace tork

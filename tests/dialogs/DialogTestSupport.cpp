#include "tests/dialogs/DialogTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

CProgramStateGuard::CProgramStateGuard() {
    SetProfileStore(&m_store);
}

CProgramStateGuard::~CProgramStateGuard() {
    SetProfileStore(nullptr);
}

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

bool Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    Choose(box, index);
    return true;
}

bool WithNextModal(const std::function<void()>& action, const std::function<void(QWidget*)>& check) {
    bool seen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = true;
        check(modal);
        if (!modal->isVisible())
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

void MoveMouse(QWidget* widget, const QPoint& point) {
    QWidget* window = widget->window();
    QTEST_ASSERT(window->windowHandle());
    QTest::mouseMove(window->windowHandle(), widget->mapTo(window, point));
}

void TurnWheel(QWidget* widget, const QPoint& point, int steps) {
    // The window's own handling picks the control under the point, as for a
    // wheel event from the window system.
    QWidget* window = widget->window();
    QTEST_ASSERT(window->windowHandle());
    const QPoint at = widget->mapTo(window, point);
    QWheelEvent event(QPointF(at), QPointF(window->mapToGlobal(at)), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &event);
}

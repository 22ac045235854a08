#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

/// Runs the event loop until the predicate holds or the time is up.
///
/// QTest::qWait and qWaitFor sleep between rounds of event processing; the
/// browser engine drives its loading through the application's event loop,
/// so those sleeps stretch a page load of a fraction of a second to many
/// seconds. Here the thread waits in the event loop itself and wakes for
/// every event.
template <typename Predicate> bool WaitUntil(Predicate predicate, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!predicate()) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return predicate();
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(qMin<qint64>(left, 5)), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGTERM and SIGHUP into a signal of the event loop: a desktop
/// session that ends, or a user who runs kill, asks the program to quit, and
/// it quits as closing the window does, without questions, so the display
/// page and its lock go with it. Only one may exist at a time.
class CQuitSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuitSignals)

public:
    explicit CQuitSignals(QObject* parent = nullptr);
    /// Gives the two signals back their default action.
    ~CQuitSignals() override;

Q_SIGNALS:
    /// One of the signals came; emitted in the event loop, once per signal.
    void QuitAsked();

private:
    void OnSignalled();

    QSocketNotifier* m_notifier = nullptr;
};

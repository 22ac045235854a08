#pragma once

#include <QComboBox>
#include <QString>
#include <QWidget>

#include <functional>

#include "base/SettingsStore.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/RecordingMessageSink.h"

/// Records the messages the program shows instead of showing them, for its lifetime.
using CMessageRecorder = CRecordingMessageSink;

/// An empty settings store in memory installed as the program's store, and
/// the program's chord table at its default levels, both put back afterwards.
class CProgramStateGuard final {
public:
    CProgramStateGuard();
    ~CProgramStateGuard();
    CProgramStateGuard(const CProgramStateGuard&) = delete;
    CProgramStateGuard& operator=(const CProgramStateGuard&) = delete;

    CMemorySettingsStore& Store() { return m_store; }

private:
    CCatalogLevelsGuard m_levels;
    CMemorySettingsStore m_store;
};

/// The control of a window with this numeric id.
template <typename T> T* Control(const QWidget* window, int id) {
    return window->findChild<T*>(QString::number(id));
}

/// Chooses an entry of a list as the user does: the selection changes and the
/// box reports the choice.
void Choose(QComboBox* box, int index);
/// The same by the entry's text; fails the test when the list has no such entry.
bool Choose(QComboBox* box, const QString& text);

/// Runs check on the next modal window that opens while action runs, then
/// rejects that window unless check closed it. Returns false when no modal window opened.
bool WithNextModal(const std::function<void()>& action, const std::function<void(QWidget*)>& check);

/// Moves the pointer, without buttons, to the point of the widget as the
/// window system does: the move reaches the widget's window, and Qt hands it
/// to whatever control is under the point there. The window must be shown.
void MoveMouse(QWidget* widget, const QPoint& point);
/// Turns the mouse wheel by steps notches (positive: away from the user) with
/// the pointer at the point of the widget, through its window in the same way.
void TurnWheel(QWidget* widget, const QPoint& point, int steps);

#pragma once

#include <memory>
#include <utility>

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>

#include "tests/support/EventWait.h"

/// The world a test's script sees the page from: the page's own, or, for a
/// page that runs no script of its own (the program's), the program's world.
inline quint32 ScriptWorld(QWebEnginePage* page) {
    return page->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled) ? QWebEngineScript::MainWorld
                                                                                  : QWebEngineScript::ApplicationWorld;
}

/// Runs a script in the page and waits for its result; a null variant when
/// none came within the time.
inline QVariant Run(QWebEnginePage* page, const QString& script, int timeoutMs = 30000) {
    // The answer outlives this call: a script may answer after the time is up.
    const auto answer = std::make_shared<std::pair<bool, QVariant>>();
    page->runJavaScript(script, ScriptWorld(page), [answer](const QVariant& value) { *answer = {true, value}; });
    if (!WaitUntil([&] { return answer->first; }, timeoutMs))
        return QVariant();
    return answer->second;
}

/// The JSON object a script returns as a string.
inline QJsonObject RunJson(QWebEnginePage* page, const QString& script) {
    return QJsonDocument::fromJson(Run(page, script).toString().toUtf8()).object();
}

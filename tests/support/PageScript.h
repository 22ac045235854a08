#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <QWebEnginePage>

#include "tests/support/EventWait.h"

/// Runs a script in the page and waits for its result; a null variant when
/// none came within the time.
inline QVariant Run(QWebEnginePage* page, const QString& script, int timeoutMs = 30000) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!WaitUntil([&] { return done; }, timeoutMs))
        return QVariant();
    return result;
}

/// The JSON object a script returns as a string.
inline QJsonObject RunJson(QWebEnginePage* page, const QString& script) {
    return QJsonDocument::fromJson(Run(page, script).toString().toUtf8()).object();
}

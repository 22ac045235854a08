#pragma once

#include <string>

#include <QByteArray>
#include <QString>

/// Whether the written page may replace the content of the page shown
/// instead of being loaded: not a page in parts, and no script or load
/// handler of the song's own, whose work a load would redo.
bool CanSwapContent(const QByteArray& page, const std::string& song);

/// The script that puts the written page's body in place of the shown one,
/// parsed as a load parses it (the shown page's character set, the same
/// parser), keeping the scroll place. It answers false, changing nothing,
/// when the pages differ in more than their bodies: head, mode or scripts.
QString SwapContentScript(const QByteArray& page);

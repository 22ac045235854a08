#pragma once

#include <vector>

#include <QDialog>
#include <QRect>
#include <QString>

/// One static line of a help box: its top-left corner in dialog units and its text.
struct HelpLine {
    int x;
    int y;
    QString text;
};

/// The small modal "Quavern Help" boxes of the dialogs: static lines at fixed
/// places and an OK button.
class CHelpBox final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CHelpBox)

public:
    /// template: the box's template number, also its objectName; size and ok in dialog units.
    CHelpBox(QWidget* parent, int templateId, const QSize& size, const std::vector<HelpLine>& lines, const QRect& ok,
             const QString& okText);
};

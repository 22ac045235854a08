#pragma once

#include <QDialog>

/// "About Quavern": the version and where the program comes from.
class CAboutDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;
};

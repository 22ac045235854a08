#pragma once

#include <QDialog>

/// "Comments": where to send them.
class CCommentsDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCommentsDlg)

public:
    explicit CCommentsDlg(QWidget* parent = nullptr);
    ~CCommentsDlg() override;
};

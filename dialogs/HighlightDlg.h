#pragma once

#include <QDialog>

#include "render/Highlight.h"

class QCheckBox;
class QPushButton;

/// "Set how to highlight chords": bold, italic, underline, a custom colour and
/// the chord pop-ups. It edits a copy of the settings it is given; the caller
/// takes GetSettings() after OK.
class CHighlightDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CHighlightDlg)

public:
    CHighlightDlg(const HighlightSettings& settings, QWidget* parent = nullptr);

    /// The check states as they are now and the chosen colour.
    HighlightSettings GetSettings() const;

    /// The sixteen custom colours of the colour chooser are shared by every
    /// opening while the program runs; the program sets them all to white
    /// when it starts.
    static void ResetCustomColors();

    void OnUseColor();
    void OnSetColor();
    void OnHelp();

private:
    int m_nColor;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_useColor = nullptr;
    QCheckBox* m_showConfiguration = nullptr;
    QPushButton* m_setColor = nullptr;
};

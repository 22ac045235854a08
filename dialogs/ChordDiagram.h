#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include "chords/Chord.h"
#include "pictures/ChordDrawing.h"

class QPainter;
class QWidget;

/// The fingering of one chord drawn as a small fretboard (CChordDrawing) at a
/// fixed place of a host window, mirrored for a left-handed player.
///
/// The diagram keeps what it shows; the host paints it from its paintEvent
/// with Paint, and ShowChord, ClearChord and DrawGrid change the state and ask
/// the host for a repaint of the diagram's area.
class CChordDiagram final {
public:
    static constexpr int kFretColumns = CChordDrawing::kFretColumns;
    static constexpr int kStringGaps = CChordDrawing::kStringGaps;
    static constexpr int kWidth = CChordDrawing::kWidth;
    static constexpr int kHeight = CChordDrawing::kHeight;
    static constexpr int kMarkSize = CChordDrawing::kMarkSize;
    static constexpr int kColumnStep = CChordDrawing::kColumnStep;
    static constexpr int kRowStep = CChordDrawing::kRowStep;

    /// The grid's top-left corner in host client pixels.
    CChordDiagram(int x, int y);

    /// Places the grid's top-left corner elsewhere in the host.
    void MoveTo(const QPoint& origin) {
        m_nX = origin.x();
        m_nY = origin.y();
    }

    /// Shows the empty grid.
    void DrawGrid(QWidget* host);
    /// Empties the grid unless it is empty already.
    void ClearChord(QWidget* host);
    /// Shows a copy of the chord, unless a chord of the same root and quality
    /// is shown already (enharmonic spellings share their fingering).
    void ShowChord(QWidget* host, const CChord& chord);

    /// Paints the current state; hosts call it from their paintEvent. An
    /// invalid background leaves the host's own background under the diagram.
    void Paint(QPainter& painter, const QColor& background = QColor()) const;

    /// Draws the nut on the left, for a left-handed player, or back on the right.
    void SetMirrored(QWidget* host, bool mirrored);
    bool IsMirrored() const { return m_bMirrored; }

    bool IsBlank() const { return m_bBlank; }
    const CChord& CurrentChord() const { return m_chord; }
    /// How often a chord was drawn by ShowChord.
    int ShowCount() const { return m_nShowCount; }
    QPoint Origin() const { return QPoint(m_nX, m_nY); }
    /// The host area the diagram covers: room for the label above the grid
    /// and for the open and muted marks to its right.
    QRect Area() const { return AreaAt(Origin()); }

    static QRect AreaAt(const QPoint& origin) { return CChordDrawing::AreaAt(origin); }
    /// CChordDrawing::Draw, unmirrored.
    static void Draw(QPainter& painter, const QPoint& origin, const CChord* chord, const QColor& background) {
        CChordDrawing::Draw(painter, origin, chord, background);
    }

private:
    void Repaint(QWidget* host) const;

    int m_nX;
    int m_nY;
    CChord m_chord;
    bool m_bBlank = false;
    bool m_bMirrored = false;
    int m_nShowCount = 0;
};

#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include "chords/Chord.h"

class QPainter;
class QWidget;

/// The fingering of one chord drawn as a small fretboard at a fixed place of
/// a host window: strings run horizontally (the sixth on top), the nut is the
/// right edge of the grid, open and muted strings are marked just right of it
/// and fret rows count leftwards from the nut.
///
/// The diagram keeps what it shows; the host paints it from its paintEvent
/// with Paint, and ShowChord, ClearChord and DrawGrid change the state and ask
/// the host for a repaint of the diagram's area.
class CChordDiagram final {
public:
    static constexpr int kFretColumns = 4;
    static constexpr int kStringGaps = 5;
    static constexpr int kWidth = 70;
    static constexpr int kHeight = 40;
    static constexpr int kMarkSize = 6;
    static constexpr int kColumnStep = kWidth / kFretColumns; // 17
    static constexpr int kRowStep = kHeight / kStringGaps;    // 8

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

    bool IsBlank() const { return m_bBlank; }
    const CChord& CurrentChord() const { return m_chord; }
    /// How often a chord was drawn by ShowChord.
    int ShowCount() const { return m_nShowCount; }
    QPoint Origin() const { return QPoint(m_nX, m_nY); }
    /// The host area the diagram covers: room for the label above the grid
    /// and for the open and muted marks to its right.
    QRect Area() const { return AreaAt(Origin()); }

    static QRect AreaAt(const QPoint& origin);
    /// Draws the grid with its top-left corner at origin, and the chord's
    /// marks and position label when chord is not null, over the area filled
    /// with background when that is valid. The picture tool uses this same
    /// function.
    static void Draw(QPainter& painter, const QPoint& origin, const CChord* chord, const QColor& background);

private:
    void Repaint(QWidget* host) const;

    int m_nX;
    int m_nY;
    CChord m_chord;
    bool m_bBlank = false;
    int m_nShowCount = 0;
};

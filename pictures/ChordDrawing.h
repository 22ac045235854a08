#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include "chords/Chord.h"

class QPainter;

/// The drawing of one fingering as a small fretboard, shared by the chord
/// diagram of the dialogs and the chord pictures of the pop-ups: strings run
/// horizontally (the sixth on top), the nut is the right edge of the grid,
/// open and muted strings are marked just right of it and fret rows count
/// leftwards from the nut. Mirrored, for a left-handed player, the nut is
/// the left edge and the rows count rightwards; the position label still
/// reads from left to right.
class CChordDrawing final {
public:
    static constexpr int kFretColumns = 4;
    static constexpr int kStringGaps = 5;
    static constexpr int kWidth = 70;
    static constexpr int kHeight = 40;
    static constexpr int kMarkSize = 6;
    static constexpr int kColumnStep = kWidth / kFretColumns; // 17
    static constexpr int kRowStep = kHeight / kStringGaps;    // 8

    /// The area a drawing with its grid's top-left corner at origin covers:
    /// room for the label above the grid and for the open and muted marks on
    /// either side of it.
    static QRect AreaAt(const QPoint& origin);

    /// Draws the grid with its top-left corner at origin, and the chord's
    /// marks and position label when chord is not null, over the area filled
    /// with background when that is valid.
    static void Draw(QPainter& painter, const QPoint& origin, const CChord* chord, const QColor& background,
                     bool mirrored = false);

    /// A pop-up's picture: the drawing on a light grey ground with the
    /// caption under it, the empty grid when chord is null. Needs a
    /// QGuiApplication for its fonts.
    static QImage Picture(const CChord* chord, const QString& caption, bool mirrored = false);

    /// Writes Picture(chord, caption, mirrored) as a grey GIF file. On
    /// failure returns false and says why in error.
    static bool WritePicture(const CChord* chord, const QString& caption, bool mirrored, const QString& path,
                             QString& error);
};

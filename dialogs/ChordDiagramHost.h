#pragma once

class CChordDiagram;
class QWidget;

/// A window that shows a chord diagram; the chord combo boxes inside it find
/// it among their ancestors and draw their selected chord there.
class IChordDiagramHost {
public:
    virtual ~IChordDiagramHost() = default;
    virtual CChordDiagram& Diagram() = 0;
    /// The window the diagram is painted in.
    virtual QWidget* DiagramWindow() = 0;
};

/// Mirrors, or not, the chord diagram of every host inside the window, the
/// window included, for a left-handed player.
void MirrorChordDiagrams(QWidget* window, bool mirrored);

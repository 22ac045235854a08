#include "dialogs/ChordDiagram.h"

#include "dialogs/ChordDiagramHost.h"

#include <QPainter>
#include <QWidget>

CChordDiagram::CChordDiagram(int x, int y) : m_nX(x), m_nY(y) {}

void CChordDiagram::DrawGrid(QWidget* host) {
    m_bBlank = true;
    Repaint(host);
}

void CChordDiagram::ClearChord(QWidget* host) {
    if (!m_bBlank)
        DrawGrid(host);
}

void CChordDiagram::ShowChord(QWidget* host, const CChord& chord) {
    // C# and Db have the same root number and the same fingering: moving from
    // one name to the other keeps the picture.
    if (chord.root == m_chord.root && chord.suffix == m_chord.suffix && !m_bBlank)
        return;
    m_chord = chord;
    m_bBlank = false;
    ++m_nShowCount;
    Repaint(host);
}

void CChordDiagram::Paint(QPainter& painter, const QColor& background) const {
    CChordDrawing::Draw(painter, Origin(), m_bBlank ? nullptr : &m_chord, background, m_bMirrored);
}

void CChordDiagram::SetMirrored(QWidget* host, bool mirrored) {
    if (mirrored == m_bMirrored)
        return;
    m_bMirrored = mirrored;
    Repaint(host);
}

void CChordDiagram::Repaint(QWidget* host) const {
    if (host)
        host->update(Area());
}

void MirrorChordDiagrams(QWidget* window, bool mirrored) {
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (auto* host = dynamic_cast<IChordDiagramHost*>(widget))
            host->Diagram().SetMirrored(host->DiagramWindow(), mirrored);
    }
}

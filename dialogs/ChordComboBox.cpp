#include "dialogs/ChordComboBox.h"

#include <QMouseEvent>

#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "dialogs/ChordDiagram.h"
#include "dialogs/ChordDiagramHost.h"

CChordComboBox::CChordComboBox(QWidget* parent) : QComboBox(parent) {
    setMouseTracking(true);
}

IChordDiagramHost* CChordComboBox::FindHost() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* host = dynamic_cast<IChordDiagramHost*>(w))
            return host;
    }
    return nullptr;
}

void CChordComboBox::mouseMoveEvent(QMouseEvent* event) {
    if (IChordDiagramHost* host = FindHost()) {
        const int selection = currentIndex();
        if (selection == 0) {
            host->Diagram().ClearChord(host->DiagramWindow());
        } else if (selection > 0) {
            const std::string name = itemText(selection).toStdString();
            if (const CChord* chord = theChordCatalog.Find(name))
                host->Diagram().ShowChord(host->DiagramWindow(), *chord);
            else
                ShowMessage("Error retrieving chord from name " + name);
        }
    }
    QComboBox::mouseMoveEvent(event);
    // The box keeps its own mouse moves: the window behind it must not take
    // them as a move over its background.
    event->accept();
}

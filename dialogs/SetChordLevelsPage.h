#pragma once

#include <array>

#include <QWidget>

#include "dialogs/ChordDiagram.h"
#include "dialogs/ChordDiagramHost.h"

class CChordCatalog;
class QComboBox;
class QLabel;
class QPushButton;

/// One page of the levels sheet: the twelve roots of one quality, each row
/// with a list of the five level words, a diagram of the chord name under the
/// mouse and a button that resets the page's chords to their default levels.
class CSetChordLevelsPage final : public QWidget, public IChordDiagramHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSetChordLevelsPage)

public:
    static constexpr int kRows = 12;

    /// quality: 0 major .. 4 major seventh; catalog: the sheet's own table.
    CSetChordLevelsPage(int quality, CChordCatalog& catalog, QWidget* parent = nullptr);

    int Quality() const { return m_nQuality; }

    /// Refills the twelve boxes from the table and empties the diagram, as
    /// every repaint of the page does.
    void Refresh();
    /// Fills all twelve boxes from the table.
    void FillBoxes();

    QComboBox* LevelBox(int row) const { return m_boxes[static_cast<std::size_t>(row)]; }

    CChordDiagram& Diagram() override { return m_diagram; }
    QWidget* DiagramWindow() override { return this; }

    /// The five level words; level L is entry L - 1.
    static QStringList LevelWords();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnResetTheseChords();
    void OnLevelChosen(int row);
    void FillBox(int row);

    int m_nQuality;
    CChordCatalog& m_catalog;
    CChordDiagram m_diagram;
    std::array<QComboBox*, kRows> m_boxes{};
};

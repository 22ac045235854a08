#pragma once

#include <QComboBox>

class IChordDiagramHost;

/// A drop-down list of chord names whose entry 0 is the blank entry; moving
/// the mouse over it shows the selected chord in the diagram of the window
/// that holds it.
class CChordComboBox final : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CChordComboBox)

public:
    explicit CChordComboBox(QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    IChordDiagramHost* FindHost() const;
};

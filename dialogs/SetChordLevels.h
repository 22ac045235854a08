#pragma once

#include <array>

#include <QDialog>

#include "chords/ChordCatalog.h"

class COtherChords;
class CSetChordLevelsPage;
class QPushButton;
class QTabWidget;

/// The modal sheet "Set Chords Difficulty Levels": one page per chord quality
/// and the "Other" page. It edits a table of its own; the caller copies the
/// program's table into Catalog() before running it and back after OK.
class CSetChordLevels final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSetChordLevels)

public:
    /// Builds the sheet's table and loads the stored levels into it.
    explicit CSetChordLevels(QWidget* parent = nullptr, int firstPage = 0);
    ~CSetChordLevels() override;

    CChordCatalog& Catalog() { return m_catalog; }
    const CChordCatalog& Catalog() const { return m_catalog; }

    QTabWidget* Tabs() const { return m_tabs; }
    /// The page of a quality 0..4.
    CSetChordLevelsPage* Page(int quality) const { return m_pages[static_cast<std::size_t>(quality)]; }

    /// "Reset All Chords": every chord back to its default level, every page refilled.
    void OnResetAllChords();
    /// The help box of the sheet.
    void OnHelp();
    /// Shows the next page (step 1) or the previous one (step -1).
    void TurnPage(int step);

private:
    CChordCatalog m_catalog;
    QTabWidget* m_tabs = nullptr;
    std::array<CSetChordLevelsPage*, kQualityCount> m_pages{};
    COtherChords* m_other = nullptr;
};

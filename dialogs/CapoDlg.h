#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "engine/Capo.h"

class QCheckBox;
class QTableWidget;

/// "Suggest a Capo": for each capo from 0 to 7, the key of its shapes, the
/// shapes the guitarist plays with it, how hard they are in words and as a
/// bar, the easiest row selected. Choosing a row (OK or a double click)
/// hands back its capo, and whether the capo goes into the saved song.
class CCapoDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCapoDlg)

public:
    /// soundingKey: the key of the song as written, for the rows' texts.
    CCapoDlg(const std::vector<CapoChoice>& choices, int best, const std::string& soundingKey,
             QWidget* parent = nullptr);
    ~CCapoDlg() override;

    /// The capo of the selected row.
    int Capo() const;
    /// Whether "Write the capo at the top of the song" is checked; off at first.
    bool WritesCapo() const;

    /// The level word of an average level 1..5 ("Very Easy" .. "Very Hard").
    static QString LevelWord(double averageLevel);

private:
    std::vector<CapoChoice> m_choices;
    QTableWidget* m_table = nullptr;
    QCheckBox* m_writeCapo = nullptr;
};

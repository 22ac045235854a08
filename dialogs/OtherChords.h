#pragma once

#include <QWidget>

/// The "Other" page of the levels sheet: a place for chords to come.
class COtherChords final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(COtherChords)

public:
    explicit COtherChords(QWidget* parent = nullptr);
};

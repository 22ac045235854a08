#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include "chords/ChordCatalog.h"
#include "dialogs/ChordComboBox.h"
#include "dialogs/ControlIds.h"
#include "dialogs/ManualChordsDlg.h"
#include "tests/dialogs/DialogTestSupport.h"

using namespace Qt::StringLiterals;

namespace {

// Fills song boxes from column 1 on; an empty name leaves the column blank.
bool EnterSongChords(CManualChordsDlg& dialog, const QStringList& names) {
    for (int k = 0; k < names.size(); ++k) {
        if (!names.at(k).isEmpty() && !Choose(dialog.SongBox(k + 1), names.at(k)))
            return false;
    }
    return true;
}

QStringList TransposedNames(const CManualChordsDlg& dialog, int columns) {
    QStringList names;
    for (int k = 1; k <= columns; ++k)
        names << dialog.TransposedBox(k)->currentText();
    return names;
}

QSlider* Slider(const CManualChordsDlg& dialog) {
    return Control<QSlider>(&dialog, IDC_MANUAL_SLIDER);
}

void ClickButton(const CManualChordsDlg& dialog, int id) {
    QTest::mouseClick(Control<QPushButton>(&dialog, id), Qt::LeftButton);
}

bool IsEmptyState(const CManualChordsDlg& dialog) {
    for (int k = 1; k <= CManualChordsDlg::kColumns; ++k) {
        if (dialog.SongBox(k)->currentIndex() != 0 || dialog.TransposedBox(k)->currentIndex() != 0 ||
            dialog.TransposedBox(k)->isEnabled())
            return false;
    }
    return dialog.Shift() == 0 && Slider(dialog)->value() == 0 && !Slider(dialog)->isEnabled() &&
           !Control<QPushButton>(&dialog, IDC_MANUAL_UP)->isEnabled() &&
           !Control<QPushButton>(&dialog, IDC_MANUAL_DOWN)->isEnabled();
}

// Opens the box's list with a click as the user does and counts the entries
// that the open list shows whole; closes it again with Escape.
int VisibleEntries(CManualChordsDlg& dialog, QComboBox* box) {
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, box->mapTo(&dialog, box->rect().center()));
    QAbstractItemView* view = box->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); }))
        return -1;
    int visible = 0;
    for (int row = 0; row < box->count(); ++row) {
        const QRect entry = view->visualRect(box->model()->index(row, 0));
        if (entry.top() >= 0 && entry.bottom() <= view->viewport()->rect().bottom())
            ++visible;
    }
    QTest::keyClick(view->window()->windowHandle(), Qt::Key_Escape);
    if (!QTest::qWaitFor([view] { return !view->isVisible(); }))
        return -1;
    return visible;
}

} // namespace

class ManualChordsDialogTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensCleared();
    void songListsHoldEveryChord();
    void referenceChoiceTransposesAllColumns_data();
    void referenceChoiceTransposesAllColumns();
    void shiftSpellsEachColumn_data();
    void shiftSpellsEachColumn();
    void stepsWrapAroundTheCycle();
    void qualityFollowsTheSongChord();
    void newChordShowsAtTheCurrentShift();
    void blankReferenceChangesNothing();
    void easiestKeepsTheFirstCandidateOnTies();
    void easiestFindsTheLowestScore();
    void easiestUsesTheFirstFilledColumn();
    void nothingMovesWithoutSongChords();
    void clearEmptiesEverything();
    void blankingTheLastChordEmptiesTheDialog();
    void hoverShowsAndClearsTheDiagram();
    void labelsAndFramesEmptyTheDiagram();
    void enterQuitsAndListsShowTwentyEntries();
    void fitsA1024PixelScreen_data();
    void fitsA1024PixelScreen();
    void helpShowsItsEightLines();
};

void ManualChordsDialogTests::opensCleared() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quavern 3.0"));
    QVERIFY(IsEmptyState(dialog));
    QCOMPARE(Slider(dialog)->minimum(), -6);
    QCOMPARE(Slider(dialog)->maximum(), 6);
    // The "Quit" button exists and is never shown.
    dialog.show();
    QVERIFY(!Control<QPushButton>(&dialog, IDOK)->isVisible());
    QCOMPARE(Control<QLabel>(&dialog, IDC_MANUAL_HINT)->text(),
             QStringLiteral("Move the mouse cursor on a chord name to see its configuration"));
}

void ManualChordsDialogTests::songListsHoldEveryChord() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    const int ids[] = {1053, 1054, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040};
    for (int k = 1; k <= CManualChordsDlg::kColumns; ++k) {
        CChordComboBox* box = dialog.SongBox(k);
        QCOMPARE(box->objectName(), QString::number(ids[k - 1]));
        QCOMPARE(dialog.TransposedBox(k)->objectName(), QString::number(1040 + k));
        QCOMPARE(box->count(), 86);
        QCOMPARE(box->itemText(0), QStringLiteral(" "));
        QCOMPARE(box->itemText(1), QStringLiteral("C"));
        QCOMPARE(box->itemText(85), QStringLiteral("Bmaj7"));
        QVERIFY(!box->isEditable());
    }
}

void ManualChordsDialogTests::referenceChoiceTransposesAllColumns_data() {
    QTest::addColumn<QStringList>("song");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("shift");
    const QStringList walk{u"C"_s, u"A"_s, u"D"_s, u"F#"_s, u"Bb"_s};
    QTest::newRow("Eb reference") << walk << 1 << u"Eb"_s << QStringList{u"Eb"_s, u"C"_s, u"F"_s, u"A"_s, u"Db"_s} << 3;
    QTest::newRow("D# reference") << walk << 1 << u"D#"_s << QStringList{u"D#"_s, u"C"_s, u"F"_s, u"A"_s, u"Db"_s} << 3;
    QTest::newRow("flat song chord stays flat") << QStringList{u"Db"_s} << 1 << u"D#"_s << QStringList{u"Eb"_s} << 2;
    QTest::newRow("sharp song chord stays sharp") << QStringList{u"C#"_s} << 1 << u"Eb"_s << QStringList{u"D#"_s} << 2;
    QTest::newRow("C to G is -5") << QStringList{u"C"_s, u"E"_s} << 1 << u"G"_s << QStringList{u"G"_s, u"B"_s} << -5;
    QTest::newRow("C to F# is +6") << QStringList{u"C"_s} << 1 << u"F#"_s << QStringList{u"F#"_s} << 6;
    QTest::newRow("F# to C is -6") << QStringList{u"F#"_s} << 1 << u"C"_s << QStringList{u"C"_s} << -6;
    QTest::newRow("reference in a later column")
        << QStringList{u"Am"_s, u""_s, u"Dm7"_s} << 3 << u"Gm7"_s << QStringList{u"Dm"_s, u" "_s, u"Gm7"_s} << 5;
}

void ManualChordsDialogTests::referenceChoiceTransposesAllColumns() {
    QFETCH(QStringList, song);
    QFETCH(int, column);
    QFETCH(QString, reference);
    QFETCH(QStringList, expected);
    QFETCH(int, shift);
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, song));
    QVERIFY(Choose(dialog.TransposedBox(column), reference));
    QCOMPARE(TransposedNames(dialog, int(expected.size())), expected);
    QCOMPARE(dialog.Shift(), shift);
    QCOMPARE(Slider(dialog)->value(), shift);
}

void ManualChordsDialogTests::shiftSpellsEachColumn_data() {
    QTest::addColumn<int>("shift");
    QTest::addColumn<QStringList>("song");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("+1") << 1 << QStringList{u"C"_s, u"Bb"_s, u"F#"_s, u"B"_s}
                        << QStringList{u"C#"_s, u"B"_s, u"G"_s, u"C"_s};
    QTest::newRow("+2") << 2 << QStringList{u"Db"_s, u"Eb"_s} << QStringList{u"Eb"_s, u"F"_s};
    QTest::newRow("-6, natural lands sharp") << -6 << QStringList{u"A"_s} << QStringList{u"D#"_s};
    QTest::newRow("-1 keeps qualities") << -1 << QStringList{u"Ebm7"_s, u"Cmaj7"_s, u"G#7"_s}
                                        << QStringList{u"Dm7"_s, u"Bmaj7"_s, u"G7"_s};
}

void ManualChordsDialogTests::shiftSpellsEachColumn() {
    QFETCH(int, shift);
    QFETCH(QStringList, song);
    QFETCH(QStringList, expected);
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, song));
    // The user drags the slider there.
    Slider(dialog)->setValue(shift);
    QCOMPARE(dialog.Shift(), shift);
    QCOMPARE(TransposedNames(dialog, int(expected.size())), expected);
}

void ManualChordsDialogTests::stepsWrapAroundTheCycle() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"C"_s}));
    ClickButton(dialog, IDC_MANUAL_UP);
    QCOMPARE(dialog.TransposedBox(1)->currentText(), QStringLiteral("C#"));
    Slider(dialog)->setValue(6);
    ClickButton(dialog, IDC_MANUAL_UP);
    QCOMPARE(dialog.Shift(), -5);
    QCOMPARE(Slider(dialog)->value(), -5);
    QCOMPARE(dialog.TransposedBox(1)->currentText(), QStringLiteral("G"));
    Slider(dialog)->setValue(-6);
    ClickButton(dialog, IDC_MANUAL_DOWN);
    QCOMPARE(dialog.Shift(), 5);
    QCOMPARE(Slider(dialog)->value(), 5);
    QCOMPARE(dialog.TransposedBox(1)->currentText(), QStringLiteral("F"));
    // Twelve steps up come back to the start.
    for (int i = 0; i < 12; ++i)
        ClickButton(dialog, IDC_MANUAL_UP);
    QCOMPARE(dialog.Shift(), 5);
}

void ManualChordsDialogTests::qualityFollowsTheSongChord() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"Am"_s}));
    CChordComboBox* transposed = dialog.TransposedBox(1);
    QVERIFY(transposed->isEnabled());
    QCOMPARE(transposed->count(), 18);
    for (int t = 1; t < transposed->count(); ++t)
        QVERIFY(theChordCatalog.Find(transposed->itemText(t).toStdString())->suffix == "m");
    QCOMPARE(transposed->itemText(6), QStringLiteral("Ebm"));
    Slider(dialog)->setValue(3);
    QCOMPARE(transposed->currentText(), QStringLiteral("Cm"));

    // Changing the song chord's quality refills the list.
    QVERIFY(Choose(dialog.SongBox(1), QStringLiteral("Amaj7")));
    QCOMPARE(transposed->itemText(1), QStringLiteral("Cmaj7"));
    QCOMPARE(transposed->currentText(), QStringLiteral("Cmaj7"));
}

void ManualChordsDialogTests::newChordShowsAtTheCurrentShift() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"C"_s, u"Bb"_s}));
    Slider(dialog)->setValue(2);
    QVERIFY(Choose(dialog.TransposedBox(1), QStringLiteral("D")));
    QVERIFY(Choose(dialog.SongBox(5), QStringLiteral("G")));
    QCOMPARE(TransposedNames(dialog, 5), (QStringList{u"D"_s, u"C"_s, u" "_s, u" "_s, u"A"_s}));
    QCOMPARE(dialog.Shift(), 2);
}

void ManualChordsDialogTests::blankReferenceChangesNothing() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"C"_s, u"G"_s}));
    Slider(dialog)->setValue(4);
    QVERIFY(Choose(dialog.TransposedBox(2), QStringLiteral(" ")));
    QCOMPARE(dialog.Shift(), 4);
    QCOMPARE(TransposedNames(dialog, 2), (QStringList{u"E"_s, u" "_s}));
}

void ManualChordsDialogTests::easiestKeepsTheFirstCandidateOnTies() {
    CProgramStateGuard state;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(3);
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"Am"_s, u"Dm"_s, u"E7"_s}));
    ClickButton(dialog, IDC_MANUAL_EASIEST);
    QCOMPARE(dialog.Shift(), 3);
    QCOMPARE(Slider(dialog)->value(), 3);
    QCOMPARE(TransposedNames(dialog, 3), (QStringList{u"Cm"_s, u"Fm"_s, u"G7"_s}));
}

void ManualChordsDialogTests::easiestFindsTheLowestScore() {
    CProgramStateGuard state;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(5);
    // Only a song moved to D minor and G major is easy.
    theChordCatalog.Find("Dm")->SetDifficulty(1);
    theChordCatalog.Find("G")->SetDifficulty(1);
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"Em"_s, u"A"_s}));
    ClickButton(dialog, IDC_MANUAL_EASIEST);
    QCOMPARE(TransposedNames(dialog, 2), (QStringList{u"Dm"_s, u"G"_s}));
    QCOMPARE(dialog.Shift(), -2);
    QCOMPARE(Slider(dialog)->value(), -2);

    // The levels are read when the search runs.
    theChordCatalog.Find("Dm")->SetDifficulty(5);
    theChordCatalog.Find("Fm")->SetDifficulty(1);
    theChordCatalog.Find("A#")->SetDifficulty(1);
    ClickButton(dialog, IDC_MANUAL_EASIEST);
    QCOMPARE(TransposedNames(dialog, 2), (QStringList{u"Fm"_s, u"A#"_s}));
    QCOMPARE(dialog.Shift(), 1);
}

void ManualChordsDialogTests::easiestUsesTheFirstFilledColumn() {
    CProgramStateGuard state;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(2);
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog,
                            {u""_s, u""_s, u"Bm7"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"F"_s}));
    ClickButton(dialog, IDC_MANUAL_EASIEST);
    // Column 3 is the reference: Bm7 becomes Cm7.
    QCOMPARE(dialog.TransposedBox(3)->currentText(), QStringLiteral("Cm7"));
    QCOMPARE(dialog.TransposedBox(12)->currentText(), QStringLiteral("F#"));
    QCOMPARE(dialog.Shift(), 1);
    QCOMPARE(dialog.TransposedBox(1)->currentIndex(), 0);
}

void ManualChordsDialogTests::nothingMovesWithoutSongChords() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    ClickButton(dialog, IDC_MANUAL_EASIEST);
    dialog.OnStepUp();
    dialog.OnStepDown();
    dialog.OnSliderMoved(4);
    QVERIFY(IsEmptyState(dialog));
}

void ManualChordsDialogTests::clearEmptiesEverything() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"C"_s, u"Am"_s, u"F"_s, u"G7"_s}));
    Slider(dialog)->setValue(-3);
    dialog.Diagram().ShowChord(&dialog, *theChordCatalog.Find("Am"));
    ClickButton(dialog, IDC_MANUAL_CLEAR);
    QVERIFY(IsEmptyState(dialog));
    // Clearing leaves the diagram alone.
    QVERIFY(!dialog.Diagram().IsBlank());
}

void ManualChordsDialogTests::blankingTheLastChordEmptiesTheDialog() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    QVERIFY(EnterSongChords(dialog, {u"C"_s, u"D"_s}));
    Slider(dialog)->setValue(2);
    QVERIFY(Choose(dialog.SongBox(1), QStringLiteral(" ")));
    // Another chord remains: the shift stays.
    QCOMPARE(dialog.Shift(), 2);
    QVERIFY(!dialog.TransposedBox(1)->isEnabled());
    QCOMPARE(dialog.TransposedBox(1)->currentIndex(), 0);
    QVERIFY(Slider(dialog)->isEnabled());
    QVERIFY(Choose(dialog.SongBox(2), QStringLiteral(" ")));
    QVERIFY(IsEmptyState(dialog));
}

void ManualChordsDialogTests::hoverShowsAndClearsTheDiagram() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    dialog.show();
    QVERIFY(dialog.Diagram().IsBlank());
    QVERIFY(EnterSongChords(dialog, {u"F#m7"_s}));
    MoveMouse(dialog.SongBox(1), QPoint(4, 4));
    QCOMPARE(dialog.Diagram().CurrentChord().GetName(), std::string("F#m7"));
    MoveMouse(dialog.TransposedBox(1), QPoint(4, 4));
    QCOMPARE(dialog.Diagram().CurrentChord().GetName(), std::string("F#m7")); // T(1) shows F#m7 at shift 0

    // Over the dialog's own background the grid empties.
    MoveMouse(&dialog, QPoint(2, dialog.height() - 2));
    QVERIFY(dialog.Diagram().IsBlank());

    // A blank song box empties it too.
    dialog.Diagram().ShowChord(&dialog, *theChordCatalog.Find("C"));
    MoveMouse(dialog.SongBox(2), QPoint(4, 4));
    QVERIFY(dialog.Diagram().IsBlank());
}

void ManualChordsDialogTests::labelsAndFramesEmptyTheDiagram() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(EnterSongChords(dialog, {u"F#m7"_s}));

    // The thirteen marks under the slider, the hint and the two frames.
    QList<QWidget*> passive;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        passive << label;
    for (QGroupBox* frame : dialog.findChildren<QGroupBox*>())
        passive << frame;
    QCOMPARE(passive.size(), 16);
    for (QWidget* control : passive) {
        MoveMouse(dialog.SongBox(1), QPoint(4, 4));
        QCOMPARE(dialog.Diagram().CurrentChord().GetName(), std::string("F#m7"));
        QVERIFY(!dialog.Diagram().IsBlank());

        // A frame's own pixels lie left of its first box.
        const QPoint point =
            qobject_cast<QGroupBox*>(control) ? QPoint(3, control->height() / 2) : control->rect().center();
        QCOMPARE(dialog.childAt(control->mapTo(&dialog, point)), control);
        MoveMouse(control, point);
        QVERIFY2(dialog.Diagram().IsBlank(), control->metaObject()->className());
    }
}

void ManualChordsDialogTests::enterQuitsAndListsShowTwentyEntries() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QVERIFY(EnterSongChords(dialog, {u"Am"_s}));

    // The song list of 86 entries shows twenty at a time; the transposed
    // list of eighteen shows them all.
    QCOMPARE(VisibleEntries(dialog, dialog.SongBox(12)), 20);
    QCOMPARE(VisibleEntries(dialog, dialog.TransposedBox(1)), 18);
    QVERIFY(dialog.isVisible());

    // Enter anywhere presses the hidden "Quit": the dialog ends with OK.
    QSignalSpy quit(Control<QPushButton>(&dialog, IDOK), &QPushButton::clicked);
    dialog.SongBox(3)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    QCOMPARE(quit.count(), 1);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // The keypad's Enter does the same, here from the "+" button.
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Control<QPushButton>(&dialog, IDC_MANUAL_UP)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Shift(), 0); // "+" was not pressed
}

void ManualChordsDialogTests::fitsA1024PixelScreen_data() {
    QTest::addColumn<qreal>("points");
    QTest::newRow("program font") << 0.0;
    QTest::newRow("10 points") << 10.0;
    QTest::newRow("12 points") << 12.0;
    QTest::newRow("16 points") << 16.0;
}

void ManualChordsDialogTests::fitsA1024PixelScreen() {
    QFETCH(qreal, points);
    CProgramStateGuard state;
    QFont font = QApplication::font();
    if (points > 0)
        font.setPointSizeF(points);
    const auto restore = qScopeGuard([saved = QApplication::font()] { QApplication::setFont(saved); });
    QApplication::setFont(font);
    CManualChordsDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.frameGeometry().width() <= 1024);

    // Every box stands inside the dialog, beside its neighbour, and shows
    // the longest chord name whole: a box draws its text one pixel inside
    // each side of its text field.
    QStringList names;
    for (int i = 1; i < dialog.SongBox(1)->count(); ++i)
        names << dialog.SongBox(1)->itemText(i);
    for (int k = 1; k <= CManualChordsDlg::kColumns; ++k) {
        for (QComboBox* box :
             {static_cast<QComboBox*>(dialog.SongBox(k)), static_cast<QComboBox*>(dialog.TransposedBox(k))}) {
            QVERIFY(dialog.rect().contains(box->geometry()));
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.rect = box->rect();
            const QRect field =
                box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
            int widest = 0;
            for (const QString& name : names)
                widest = std::max(widest, box->fontMetrics().horizontalAdvance(name));
            QVERIFY2(field.width() - 2 >= widest, qPrintable(box->objectName()));
        }
        if (k > 1)
            QVERIFY(dialog.SongBox(k)->x() >= dialog.SongBox(k - 1)->geometry().right() + 1);
    }
}

void ManualChordsDialogTests::helpShowsItsEightLines() {
    CProgramStateGuard state;
    CManualChordsDlg dialog;
    dialog.show();
    QStringList lines;
    QVERIFY(WithNextModal([&] { ClickButton(dialog, IDC_MANUAL_HELP); },
                          [&](QWidget* help) {
                              QCOMPARE(help->windowTitle(), QStringLiteral("Quavern Help"));
                              for (QLabel* label : help->findChildren<QLabel*>())
                                  lines << label->text();
                          }));
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.first(),
             QStringLiteral("If you don't have a tablature file, here you can enter the song's chords manually "));
    QCOMPARE(lines.last(),
             QStringLiteral("To see the configuration of a given chord, just move the mouse cursor on it's name."));
}

QTEST_MAIN(ManualChordsDialogTests)
#include "ManualChordsDialogTests.moc"

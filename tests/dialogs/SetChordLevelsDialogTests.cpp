#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "chords/ChordCatalog.h"
#include "dialogs/ControlIds.h"
#include "dialogs/OtherChords.h"
#include "dialogs/SetChordLevels.h"
#include "dialogs/SetChordLevelsPage.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

int Level(const CChordCatalog& catalog, const char* name) {
    return catalog.Find(name)->GetDifficulty();
}

QLabel* LabelNamed(const QWidget* page, const QString& text) {
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

std::vector<int> Levels(const CChordCatalog& catalog) {
    std::vector<int> levels;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        levels.push_back(catalog.GetAt(i).GetDifficulty());
    return levels;
}

bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

class SetChordLevelsDialogTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sheetHasItsPagesAndButtons();
    void loadsStoredLevelsAtConstruction();
    void boxesShowTheLevelWordsOfTheirRow_data();
    void boxesShowTheLevelWordsOfTheirRow();
    void choiceSetsBothSpellingsOfTheRow();
    void choiceChangesOnlyTheSheetsTable();
    void resetTheseChordsOnlyResetsThePage();
    void resetAllChordsRefillsEveryPage();
    void hoverShowsTheChordUnderTheMouse();
    void everyNameIsWholeAndShowsItsFingering();
    void levelsChangeOnlyWhenChosen_data();
    void levelsChangeOnlyWhenChosen();
    void otherPageShowsOnlyItsText();
    void helpShowsItsThreeLines();
};

void SetChordLevelsDialogTests::sheetHasItsPagesAndButtons() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Set Chords Difficulty Levels"));
    const QStringList expected = {QStringLiteral(" Maj"),  QStringLiteral(" Min"),  QStringLiteral("   7"),
                                  QStringLiteral("Min 7"), QStringLiteral("Maj 7"), QStringLiteral("Other")};
    QStringList captions;
    for (int i = 0; i < sheet.Tabs()->count(); ++i)
        captions << sheet.Tabs()->tabText(i);
    QCOMPARE(captions, expected);
    QCOMPARE(sheet.Tabs()->currentIndex(), 0);
    for (int quality = 0; quality < kQualityCount; ++quality)
        QCOMPARE(sheet.Page(quality)->Quality(), quality);

    QCOMPARE(Control<QPushButton>(&sheet, IDC_RESET_ALL_CHORDS)->text(), QStringLiteral("Reset All Chords"));
    QVERIFY(Control<QPushButton>(&sheet, IDOK));
    QVERIFY(Control<QPushButton>(&sheet, IDCANCEL));
    QVERIFY(Control<QPushButton>(&sheet, ID_HELP));
    for (QPushButton* button : sheet.findChildren<QPushButton*>())
        QVERIFY(!button->text().contains(QStringLiteral("Apply")));
}

void SetChordLevelsDialogTests::loadsStoredLevelsAtConstruction() {
    CProgramStateGuard state;
    state.Store().WriteInt(kSettingsSection, "ZDifficultyLevel.0.10", 5);
    CSetChordLevels sheet;
    QCOMPARE(Level(sheet.Catalog(), "G"), 5);
    QCOMPARE(Level(sheet.Catalog(), "G#"), sheet.Catalog().GetDefaultLevel(11));
    QCOMPARE(Level(sheet.Catalog(), "Bmaj7"), 5);
    QCOMPARE(Level(sheet.Catalog(), "Am"), 1);
}

void SetChordLevelsDialogTests::boxesShowTheLevelWordsOfTheirRow_data() {
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("boxId");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("flat");
    QTest::newRow("C") << 0 << 1128 << "C"
                       << "";
    QTest::newRow("C#/Db") << 0 << 1129 << "C#"
                           << "Db";
    QTest::newRow("D#m/Ebm") << 1 << 1131 << "D#m"
                             << "Ebm";
    QTest::newRow("A#7/Bb7") << 2 << 1138 << "A#7"
                             << "Bb7";
    QTest::newRow("G#m7/Abm7") << 3 << 1136 << "G#m7"
                               << "Abm7";
    QTest::newRow("Bmaj7") << 4 << 1139 << "Bmaj7"
                           << "";
}

void SetChordLevelsDialogTests::boxesShowTheLevelWordsOfTheirRow() {
    QFETCH(int, quality);
    QFETCH(int, boxId);
    QFETCH(QString, shown);
    QFETCH(QString, flat);
    CProgramStateGuard state;
    CSetChordLevels sheet;
    CChordCatalog& catalog = sheet.Catalog();
    catalog.Find(shown.toStdString())->SetDifficulty(2);
    if (!flat.isEmpty())
        catalog.Find(flat.toStdString())->SetDifficulty(5); // the row shows the sharp spelling's level
    CSetChordLevelsPage* page = sheet.Page(quality);
    page->FillBoxes();

    auto* box = Control<QComboBox>(page, boxId);
    QVERIFY(box);
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    QCOMPARE(items, (QStringList{QStringLiteral("Very Easy"), QStringLiteral("Easy"), QStringLiteral("Medium"),
                                 QStringLiteral("Hard"), QStringLiteral("Very Hard")}));
    QCOMPARE(box->currentText(), QStringLiteral("Easy"));
    QVERIFY(LabelNamed(page, shown));
    if (!flat.isEmpty()) {
        QLabel* right = LabelNamed(page, flat);
        QVERIFY(right);
        QVERIFY(right->x() > box->geometry().right());
    }
}

void SetChordLevelsDialogTests::choiceSetsBothSpellingsOfTheRow() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.Catalog().CopyFrom(theChordCatalog);
    auto* box = Control<QComboBox>(sheet.Page(Minor), 1129);
    QVERIFY(Choose(box, QStringLiteral("Hard")));
    QCOMPARE(Level(sheet.Catalog(), "C#m"), 4);
    QCOMPARE(Level(sheet.Catalog(), "Dbm"), 4);
    // Neighbouring rows and other qualities keep theirs.
    QCOMPARE(Level(sheet.Catalog(), "Cm"), theChordCatalog.GetDefaultLevel(17));
    QCOMPARE(Level(sheet.Catalog(), "C#"), theChordCatalog.GetDefaultLevel(1));

    // A natural row sets its one chord.
    QVERIFY(Choose(Control<QComboBox>(sheet.Page(Major), 1128), QStringLiteral("Very Hard")));
    QCOMPARE(Level(sheet.Catalog(), "C"), 5);
}

void SetChordLevelsDialogTests::choiceChangesOnlyTheSheetsTable() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.Catalog().CopyFrom(theChordCatalog);
    sheet.show();
    QVERIFY(Choose(Control<QComboBox>(sheet.Page(Minor), 1129), QStringLiteral("Hard")));
    // Until the caller takes the table after OK, nothing else changes.
    QCOMPARE(Level(theChordCatalog, "C#m"), theChordCatalog.GetDefaultLevel(18));
    QCOMPARE(state.Store().Size(), std::size_t{0});

    QTest::mouseClick(Control<QPushButton>(&sheet, IDOK), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QVERIFY(!sheet.isVisible());
    QCOMPARE(Level(sheet.Catalog(), "C#m"), 4);
    QCOMPARE(Level(sheet.Catalog(), "Dbm"), 4);
}

void SetChordLevelsDialogTests::resetTheseChordsOnlyResetsThePage() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    CChordCatalog& catalog = sheet.Catalog();
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        catalog.GetAt(i).SetDifficulty(catalog.GetDefaultLevel(i) == 3 ? 4 : 3);
    CSetChordLevelsPage* page = sheet.Page(MajorSeventh);
    page->FillBoxes();

    QTest::mouseClick(Control<QPushButton>(page, IDC_RESET_THESE_CHORDS), Qt::LeftButton);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const bool onPage = i >= 68;
        QCOMPARE(catalog.GetAt(i).GetDifficulty() == catalog.GetDefaultLevel(i), onPage);
    }
    // The boxes show the restored levels: Bmaj7 is "Very Hard" by default.
    QCOMPARE(Control<QComboBox>(page, 1139)->currentText(), QStringLiteral("Very Hard"));
}

void SetChordLevelsDialogTests::resetAllChordsRefillsEveryPage() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    CChordCatalog& catalog = sheet.Catalog();
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        catalog.GetAt(i).SetDifficulty(catalog.GetDefaultLevel(i) == 1 ? 2 : 1);
    theChordCatalog.CopyFrom(catalog);
    sheet.show();
    sheet.Page(Minor)->Diagram().ShowChord(sheet.Page(Minor), *catalog.Find("Am"));

    QTest::mouseClick(Control<QPushButton>(&sheet, IDC_RESET_ALL_CHORDS), Qt::LeftButton);
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        QCOMPARE(catalog.GetAt(i).GetDifficulty(), catalog.GetDefaultLevel(i));
    // Pages not shown yet are refilled too: G is "Medium" (3) by default.
    QCOMPARE(Control<QComboBox>(sheet.Page(Major), 1135)->currentText(), QStringLiteral("Medium"));
    QCOMPARE(Control<QComboBox>(sheet.Page(Minor), 1137)->currentText(), QStringLiteral("Very Easy"));
    QVERIFY(sheet.Page(Minor)->Diagram().IsBlank());

    // Cancel: the program's table and the store are as they were.
    QTest::mouseClick(Control<QPushButton>(&sheet, IDCANCEL), Qt::LeftButton);
    QCOMPARE(sheet.result(), int(QDialog::Rejected));
    QCOMPARE(Level(theChordCatalog, "Am"), 2);
    QCOMPARE(state.Store().Size(), std::size_t{0});
}

void SetChordLevelsDialogTests::hoverShowsTheChordUnderTheMouse() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.show();
    CSetChordLevelsPage* page = sheet.Page(Major);
    QVERIFY(page->isVisible());
    QVERIFY(page->Diagram().IsBlank());

    MoveMouse(page, LabelNamed(page, QStringLiteral("Db"))->geometry().center());
    QVERIFY(!page->Diagram().IsBlank());
    QCOMPARE(page->Diagram().CurrentChord().GetName(), std::string("Db"));

    // A box shows a level word: the diagram stays.
    MoveMouse(page, Control<QComboBox>(page, 1133)->geometry().center());
    QCOMPARE(page->Diagram().CurrentChord().GetName(), std::string("Db"));
    QVERIFY(!page->Diagram().IsBlank());

    // Blank space of the page empties it.
    MoveMouse(page, QPoint(2, 2));
    QVERIFY(page->Diagram().IsBlank());

    sheet.Tabs()->setCurrentIndex(3);
    CSetChordLevelsPage* minorSeventh = sheet.Page(MinorSeventh);
    MoveMouse(minorSeventh, LabelNamed(minorSeventh, QStringLiteral("Abm7"))->geometry().center());
    QCOMPARE(minorSeventh->Diagram().CurrentChord().GetName(), std::string("Abm7"));
}

void SetChordLevelsDialogTests::everyNameIsWholeAndShowsItsFingering() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    for (int quality = 0; quality < kQualityCount; ++quality) {
        sheet.Tabs()->setCurrentIndex(quality);
        CSetChordLevelsPage* page = sheet.Page(quality);
        const QList<QLabel*> names = page->findChildren<QLabel*>();
        QCOMPARE(names.size(), 17);
        for (QLabel* name : names) {
            // Nothing on the page covers any part of a name ("C#m7" ends in its "7").
            QVERIFY2(page->rect().contains(name->geometry()), qPrintable(name->text()));
            for (QWidget* control : page->findChildren<QWidget*>()) {
                if (!qobject_cast<QLabel*>(control))
                    QVERIFY2(!control->geometry().intersects(name->geometry()), qPrintable(name->text()));
            }

            // The pointer on the name draws its fingering; the page's blank
            // corner empties the grid first, so that C# then Db both draw.
            MoveMouse(page, QPoint(2, 2));
            QVERIFY(page->Diagram().IsBlank());
            MoveMouse(name, name->rect().center());
            QVERIFY2(!page->Diagram().IsBlank(), qPrintable(name->text()));
            QCOMPARE(QString::fromStdString(page->Diagram().CurrentChord().GetName()), name->text());
        }
    }
}

void SetChordLevelsDialogTests::levelsChangeOnlyWhenChosen_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("step");
    QTest::newRow("Ctrl+PageDown") << int(Qt::Key_PageDown) << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers(Qt::ControlModifier) << 1;
    QTest::newRow("Ctrl+PageUp") << int(Qt::Key_PageUp) << Qt::KeyboardModifiers(Qt::ControlModifier) << -1;
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Tab) << (Qt::ControlModifier | Qt::ShiftModifier) << -1;
    QTest::newRow("Ctrl+Shift+Backtab") << int(Qt::Key_Backtab) << (Qt::ControlModifier | Qt::ShiftModifier) << -1;
}

void SetChordLevelsDialogTests::levelsChangeOnlyWhenChosen() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, step);
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.Tabs()->setCurrentIndex(Minor);
    QVERIFY(ShowActive(sheet));
    const std::vector<int> before = Levels(sheet.Catalog());
    CSetChordLevelsPage* page = sheet.Page(Minor);
    QComboBox* focused = Control<QComboBox>(page, 1129);
    QComboBox* other = Control<QComboBox>(page, 1133);
    focused->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);

    // The wheel over a box without the focus changes nothing, focus included.
    TurnWheel(other, other->rect().center(), -1);
    TurnWheel(other, other->rect().center(), 1);
    QVERIFY(Levels(sheet.Catalog()) == before);
    QCOMPARE(QApplication::focusWidget(), focused);
    // The box with the focus steps its level.
    QVERIFY(before[18] < 5); // C#m has a level below
    TurnWheel(focused, focused->rect().center(), -1);
    QCOMPARE(Level(sheet.Catalog(), "C#m"), before[18] + 1);
    TurnWheel(focused, focused->rect().center(), 1);
    QVERIFY(Levels(sheet.Catalog()) == before);

    // The key turns the page, whether a level box or a button has the focus.
    QTest::keyClick(sheet.windowHandle(), Qt::Key(key), modifiers);
    QCOMPARE(sheet.Tabs()->currentIndex(), Minor + step);
    QVERIFY(Levels(sheet.Catalog()) == before);
    sheet.Tabs()->setCurrentIndex(Minor);
    Control<QPushButton>(&sheet, IDOK)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sheet.windowHandle(), Qt::Key(key), modifiers);
    QCOMPARE(sheet.Tabs()->currentIndex(), Minor + step);

    // Enter in a box confirms the sheet with the levels as they were.
    sheet.Tabs()->setCurrentIndex(Minor);
    focused->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sheet.windowHandle(), Qt::Key_Return);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QVERIFY(Levels(sheet.Catalog()) == before);
}

void SetChordLevelsDialogTests::otherPageShowsOnlyItsText() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    auto* other = qobject_cast<COtherChords*>(sheet.Tabs()->widget(5));
    QVERIFY(other);
    const QList<QWidget*> children = other->findChildren<QWidget*>();
    QCOMPARE(children.size(), 1);
    auto* label = qobject_cast<QLabel*>(children.first());
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("More chords will be added soon..."));
}

void SetChordLevelsDialogTests::helpShowsItsThreeLines() {
    CProgramStateGuard state;
    CSetChordLevels sheet;
    sheet.show();
    QStringList lines;
    QString caption;
    const bool opened = WithNextModal([&] { Control<QPushButton>(&sheet, ID_HELP)->click(); },
                                      [&](QWidget* help) {
                                          caption = help->windowTitle();
                                          for (QLabel* label : help->findChildren<QLabel*>())
                                              lines << label->text();
                                      });
    QVERIFY(opened);
    QCOMPARE(caption, QStringLiteral("Quavern Help"));
    QCOMPARE(lines, (QStringList{QStringLiteral("Here you can set your own chord difficulty levels."),
                                 QStringLiteral("The program will use them to find the easiest transposition for you."),
                                 QStringLiteral("Move the mouse cursor on a chord name to see its configuration.")}));
}

QTEST_MAIN(SetChordLevelsDialogTests)
#include "SetChordLevelsDialogTests.moc"

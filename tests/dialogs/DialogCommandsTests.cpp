// The three dialogs as the program's commands open them: what reaches the
// program's chord table, the document and the stored settings, and what a
// Cancel leaves alone.

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/MainFrame.h"
#include "app/QuavernApp.h"
#include "chords/ChordCatalog.h"
#include "dialogs/ChordComboBox.h"
#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "dialogs/ManualChordsDlg.h"
#include "dialogs/SetChordLevels.h"
#include "dialogs/SetChordLevelsPage.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/EventWait.h"

using namespace Qt::StringLiterals;

namespace {

QVariant StoredValue(const QString& name) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication));
    return settings.value(QString::fromLatin1(kSettingsSection) + u'/' + name);
}

int Level(const char* name) {
    return theChordCatalog.Find(name)->GetDifficulty();
}

} // namespace

class DialogCommandsTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startUpWhitensTheCustomColors();
    void levelsAreStoredAndUsedAfterOk();
    void cancelledLevelsChangeNothing();
    void highlightOptionsAreAppliedAfterOk();
    void cancelKeepsTheDocumentsColor();
    void manualCommandOpensAClearedDialog();
    void cleanupTestCase();

private:
    bool Trigger(int command, const std::function<void(QWidget*)>& check) {
        return WithNextModal([&] { m_app->GetMainWnd()->Action(command)->trigger(); }, check);
    }
    CQuavernView* View() const { return m_app->GetMainWnd()->GetActiveView(); }

    QTemporaryDir m_folder;
    QString m_previousFolder;
    std::unique_ptr<CMessageRecorder> m_messages;
    std::unique_ptr<CQuavernApp> m_app;
};

void DialogCommandsTests::initTestCase() {
    QVERIFY(m_folder.isValid());
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder.path()));
    QFile start(u"Start.htm"_s);
    QVERIFY(start.open(QIODevice::WriteOnly));
    start.write("<html><body><p>Am G C</p></body></html>");
    start.close();
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                           QString::fromLatin1(kSettingsApplication));
        settings.clear();
    }

    QColorDialog::setCustomColor(5, QColor(1, 2, 3)); // left over from an earlier run
    m_messages = std::make_unique<CMessageRecorder>();
    m_app = std::make_unique<CQuavernApp>();
    QVERIFY(m_app->InitInstance({}));
    QVERIFY(WaitUntil([&] { return View()->IsReady(); }, 60000));
}

void DialogCommandsTests::startUpWhitensTheCustomColors() {
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QCOMPARE(QColorDialog::customColor(i), QColor(255, 255, 255));
}

void DialogCommandsTests::levelsAreStoredAndUsedAfterOk() {
    const int scoreBefore = m_app->GetDocument()->Working().GetScore();
    QCOMPARE(scoreBefore, Level("Am") + Level("G") + Level("C"));
    theChordCatalog.Find("Em")->SetDifficulty(2); // not stored: the sheet shows the program's levels
    bool opened = false;
    const bool modal = Trigger(ID_CHORD_LEVELS, [&](QWidget* window) {
        auto* sheet = qobject_cast<CSetChordLevels*>(window);
        QVERIFY(sheet);
        opened = true;
        QCOMPARE(sheet->windowTitle(), u"Set Chords Difficulty Levels"_s);
        QCOMPARE(sheet->Catalog().Find("Em")->GetDifficulty(), 2);
        QVERIFY(Choose(Control<QComboBox>(sheet->Page(Minor), 1129), u"Hard"_s));
        QVERIFY(Choose(Control<QComboBox>(sheet->Page(Minor), 1137), u"Very Hard"_s));
        // Nothing reaches the program before OK.
        QCOMPARE(Level("C#m"), theChordCatalog.GetDefaultLevel(18));
        QVERIFY(!StoredValue(u"ZDifficultyLevel.1.1"_s).isValid());
        QTest::mouseClick(Control<QPushButton>(sheet, IDOK), Qt::LeftButton);
    });
    QVERIFY(modal);
    QVERIFY(opened);
    QCOMPARE(Level("C#m"), 4);
    QCOMPARE(Level("Dbm"), 4);
    QCOMPARE(Level("Am"), 5);
    // All 85 levels are stored.
    QCOMPARE(StoredValue(u"ZDifficultyLevel.1.1"_s).toInt(), 4);
    QCOMPARE(StoredValue(u"ZDifficultyLevel.1.2"_s).toInt(), 4);
    QCOMPARE(StoredValue(u"ZDifficultyLevel.1.13"_s).toInt(), 5);
    QCOMPARE(StoredValue(u"ZDifficultyLevel.3.4"_s).toInt(), 5);
    QCOMPARE(StoredValue(u"ZDifficultyLevel.1.6"_s).toInt(), 2);
    // The song is scored again with the new levels.
    QCOMPARE(m_app->GetDocument()->Working().GetScore(), 5 + Level("G") + Level("C"));
    QVERIFY(m_app->GetDocument()->Working().GetScore() > scoreBefore);
}

void DialogCommandsTests::cancelledLevelsChangeNothing() {
    const int am = Level("Am");
    const int stored = StoredValue(u"ZDifficultyLevel.1.13"_s).toInt();
    QVERIFY(Trigger(ID_CHORD_LEVELS, [](QWidget* window) {
        auto* sheet = qobject_cast<CSetChordLevels*>(window);
        QVERIFY(sheet);
        QTest::mouseClick(Control<QPushButton>(sheet, IDC_RESET_ALL_CHORDS), Qt::LeftButton);
        QCOMPARE(sheet->Catalog().Find("Am")->GetDifficulty(), 1);
        QTest::mouseClick(Control<QPushButton>(sheet, IDCANCEL), Qt::LeftButton);
    }));
    QCOMPARE(Level("Am"), am);
    QCOMPARE(StoredValue(u"ZDifficultyLevel.1.13"_s).toInt(), stored);
}

void DialogCommandsTests::highlightOptionsAreAppliedAfterOk() {
    CQuavernDoc* document = m_app->GetDocument();
    const HighlightSettings before = document->Highlight();
    QVERIFY(before.bold);
    QVERIFY(Trigger(ID_HIGHLIGHT_OPTIONS, [&](QWidget* window) {
        auto* dialog = qobject_cast<CHighlightDlg*>(window);
        QVERIFY(dialog);
        QCOMPARE(dialog->GetSettings(), before);
        Control<QCheckBox>(dialog, IDC_BOLD)->click();
        Control<QCheckBox>(dialog, IDC_UNDERLINE)->click();
        QTest::mouseClick(Control<QPushButton>(dialog, IDOK), Qt::LeftButton);
    }));
    QCOMPARE(document->Highlight().bold, 0);
    QCOMPARE(document->Highlight().underline, 1);
    QCOMPARE(document->Highlight().color, before.color);
    QCOMPARE(StoredValue(u"BOLD"_s).toInt(), 0);
    QCOMPARE(StoredValue(u"UNDERLINE"_s).toInt(), 1);
}

void DialogCommandsTests::cancelKeepsTheDocumentsColor() {
    CQuavernDoc* document = m_app->GetDocument();
    const HighlightSettings before = document->Highlight();
    int chosen = -1;
    QVERIFY(Trigger(ID_HIGHLIGHT_OPTIONS, [&](QWidget* window) {
        auto* dialog = qobject_cast<CHighlightDlg*>(window);
        QVERIFY(dialog);
        QVERIFY(WithNextModal([dialog] { dialog->OnSetColor(); },
                              [](QWidget* chooser) {
                                  auto* colors = qobject_cast<QColorDialog*>(chooser);
                                  QVERIFY(colors);
                                  colors->setCurrentColor(QColor(0, 128, 255));
                                  colors->accept();
                              }));
        chosen = dialog->GetSettings().color;
        QTest::mouseClick(Control<QPushButton>(dialog, IDCANCEL), Qt::LeftButton);
    }));
    QCOMPARE(chosen, 0xff8000);
    QCOMPARE(document->Highlight(), before);
}

void DialogCommandsTests::manualCommandOpensAClearedDialog() {
    for (int round = 0; round < 2; ++round) {
        QVERIFY(Trigger(ID_MANUAL_CHORDS, [](QWidget* window) {
            auto* dialog = qobject_cast<CManualChordsDlg*>(window);
            QVERIFY(dialog);
            QCOMPARE(dialog->SongBox(1)->currentIndex(), 0);
            QCOMPARE(dialog->Shift(), 0);
            QVERIFY(Choose(dialog->SongBox(1), u"Am"_s));
            dialog->OnStepUp();
            QCOMPARE(dialog->Shift(), 1);
        }));
    }
    QVERIFY(m_messages->Messages().empty());
}

void DialogCommandsTests::cleanupTestCase() {
    m_app.reset();
    m_messages.reset();
    QDir::setCurrent(m_previousFolder);
}

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    DialogCommandsTests tests;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tests, argc, argv);
}

#include "DialogCommandsTests.moc"

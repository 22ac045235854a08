#include <utility>

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

HighlightSettings Settings(int bold, int italic, int underline, int useColor, int infobulle, int color) {
    HighlightSettings settings;
    settings.bold = bold;
    settings.italic = italic;
    settings.underline = underline;
    settings.useColor = useColor;
    settings.infobulle = infobulle;
    settings.color = color;
    return settings;
}

// The letters that a caption underlines: each one after a single '&'.
QList<QChar> UnderlinedLetters(const QString& text) {
    QList<QChar> letters;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) != u'&')
            letters << text.at(i + 1).toUpper();
        ++i; // "&&" is an ampersand; the letter after a '&' is done
    }
    return letters;
}

} // namespace

class HighlightDialogTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkBoxesShowTheSettings_data();
    void checkBoxesShowTheSettings();
    void uncheckingEverythingGivesZeros();
    void setColorButtonFollowsTheCheckBox();
    void chosenColorIsKeptUntilOk();
    void cancelledChooserKeepsTheColor();
    void customColorsStartWhite();
    void helpShowsItsFiveLines();
    void everyUnderlinedLetterWorks();
};

void HighlightDialogTests::checkBoxesShowTheSettings_data() {
    QTest::addColumn<HighlightSettings>("settings");
    QTest::newRow("defaults") << HighlightSettings();
    QTest::newRow("italic and underline, no colour") << Settings(0, 1, 1, 0, 0, 0x00ff00);
    QTest::newRow("everything") << Settings(1, 1, 1, 1, 1, 0x123456);
}

void HighlightDialogTests::checkBoxesShowTheSettings() {
    QFETCH(HighlightSettings, settings);
    CHighlightDlg dialog(settings);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set how to highlight chords"));
    QCOMPARE(Control<QCheckBox>(&dialog, IDC_BOLD)->isChecked(), settings.bold != 0);
    QCOMPARE(Control<QCheckBox>(&dialog, IDC_ITALIC)->isChecked(), settings.italic != 0);
    QCOMPARE(Control<QCheckBox>(&dialog, IDC_UNDERLINE)->isChecked(), settings.underline != 0);
    QCOMPARE(Control<QCheckBox>(&dialog, IDC_USE_COLOR)->isChecked(), settings.useColor != 0);
    QCOMPARE(Control<QCheckBox>(&dialog, IDC_SHOW_CONFIGURATION)->isChecked(), settings.infobulle != 0);
    QCOMPARE(Control<QPushButton>(&dialog, IDC_SET_COLOR)->isEnabled(), settings.useColor != 0);
    // Nothing changed: the same settings come back, colour included.
    QCOMPARE(dialog.GetSettings(), settings);
}

void HighlightDialogTests::uncheckingEverythingGivesZeros() {
    CHighlightDlg dialog(Settings(1, 1, 1, 1, 1, 0x0000ff));
    dialog.show();
    for (int id : {IDC_BOLD, IDC_ITALIC, IDC_UNDERLINE, IDC_USE_COLOR, IDC_SHOW_CONFIGURATION})
        Control<QCheckBox>(&dialog, id)->click();
    QTest::mouseClick(Control<QPushButton>(&dialog, IDOK), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetSettings(), Settings(0, 0, 0, 0, 0, 0x0000ff));
}

void HighlightDialogTests::setColorButtonFollowsTheCheckBox() {
    CHighlightDlg dialog(Settings(1, 0, 0, 0, 1, 0xff0000));
    dialog.show();
    auto* useColor = Control<QCheckBox>(&dialog, IDC_USE_COLOR);
    auto* setColor = Control<QPushButton>(&dialog, IDC_SET_COLOR);
    QVERIFY(!setColor->isEnabled());
    QTest::mouseClick(useColor, Qt::LeftButton);
    QVERIFY(setColor->isEnabled());
    QTest::mouseClick(useColor, Qt::LeftButton);
    QVERIFY(!setColor->isEnabled());
    useColor->click();
    QVERIFY(setColor->isEnabled());
}

void HighlightDialogTests::chosenColorIsKeptUntilOk() {
    CHighlightDlg dialog(Settings(1, 0, 0, 1, 1, 0x0000ff)); // red
    dialog.show();
    QColor initial;
    bool alpha = true;
    const bool opened = WithNextModal([&] { Control<QPushButton>(&dialog, IDC_SET_COLOR)->click(); },
                                      [&](QWidget* modal) {
                                          auto* chooser = qobject_cast<QColorDialog*>(modal);
                                          QVERIFY(chooser);
                                          initial = chooser->currentColor();
                                          alpha = chooser->testOption(QColorDialog::ShowAlphaChannel);
                                          chooser->setCurrentColor(QColor(0x12, 0x34, 0x56));
                                          chooser->accept();
                                      });
    QVERIFY(opened);
    QCOMPARE(initial, QColor(255, 0, 0));
    QVERIFY(!alpha);
    // Red in the low byte: 0x12 red, 0x34 green, 0x56 blue.
    QCOMPARE(dialog.GetSettings().color, 0x563412);
    QCOMPARE(dialog.GetSettings().useColor, 1);

    // Cancel in the highlight dialog: the caller's settings are not asked for.
    QTest::mouseClick(Control<QPushButton>(&dialog, IDCANCEL), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void HighlightDialogTests::cancelledChooserKeepsTheColor() {
    CHighlightDlg dialog(Settings(1, 0, 0, 1, 1, 0x00ff00));
    dialog.show();
    const bool opened = WithNextModal([&] { Control<QPushButton>(&dialog, IDC_SET_COLOR)->click(); },
                                      [&](QWidget* modal) {
                                          auto* chooser = qobject_cast<QColorDialog*>(modal);
                                          QVERIFY(chooser);
                                          chooser->setCurrentColor(QColor(1, 2, 3));
                                          chooser->reject();
                                      });
    QVERIFY(opened);
    QCOMPARE(dialog.GetSettings().color, 0x00ff00);
}

void HighlightDialogTests::customColorsStartWhite() {
    QColorDialog::setCustomColor(3, QColor(10, 20, 30));
    CHighlightDlg::ResetCustomColors();
    QCOMPARE(QColorDialog::customCount(), 16);
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QCOMPARE(QColorDialog::customColor(i), QColor(255, 255, 255));

    // A colour defined in one opening of the chooser is offered in the next.
    CHighlightDlg first(HighlightSettings{});
    first.show();
    QVERIFY(WithNextModal([&] { Control<QPushButton>(&first, IDC_SET_COLOR)->click(); },
                          [](QWidget*) { QColorDialog::setCustomColor(0, QColor(1, 2, 3)); }));
    QCOMPARE(QColorDialog::customColor(0), QColor(1, 2, 3));
    CHighlightDlg::ResetCustomColors();
}

void HighlightDialogTests::helpShowsItsFiveLines() {
    CHighlightDlg dialog(HighlightSettings{});
    dialog.show();
    QStringList lines;
    QString caption;
    QVERIFY(WithNextModal([&] { Control<QPushButton>(&dialog, IDC_HIGHLIGHT_HELP)->click(); },
                          [&](QWidget* help) {
                              caption = help->windowTitle();
                              for (QLabel* label : help->findChildren<QLabel*>())
                                  lines << label->text();
                          }));
    QCOMPARE(caption, QStringLiteral("Quavern Help"));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(3),
             QStringLiteral("The \"Show Chord Configuration\" check box allow you to see the configuration"));
    QCOMPARE(lines.at(4),
             QStringLiteral("of a given chord just by moving the mouse cursor on its name in the tablature file."));
}

void HighlightDialogTests::everyUnderlinedLetterWorks() {
    CHighlightDlg dialog(Settings(0, 1, 0, 1, 0, 0x00ff00));
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    // No two controls share a letter, and a caption underlines one at most.
    QList<QChar> taken;
    QList<std::pair<QAbstractButton*, QChar>> controls;
    for (QAbstractButton* control : dialog.findChildren<QAbstractButton*>()) {
        const QList<QChar> letters = UnderlinedLetters(control->text());
        QVERIFY2(letters.size() <= 1, qPrintable(control->text()));
        if (letters.isEmpty())
            continue;
        QVERIFY2(!taken.contains(letters.first()), qPrintable(control->text()));
        taken << letters.first();
        controls.emplace_back(control, letters.first());
    }
    QCOMPARE(controls.size(), 9);

    // Alt and the letter toggles the check box (twice here, so that "Use
    // Custom Color" leaves "Set Color..." enabled) or presses the button; a
    // box that the letter opens is closed again, and the dialog is shown and
    // activated again after OK and Cancel and after a box it opened.
    for (const auto& [control, letter] : controls) {
        if (!dialog.isActiveWindow()) {
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
        }
        QSignalSpy clicked(control, &QAbstractButton::clicked);
        const bool checked = control->isChecked();
        const int presses = control->isCheckable() ? 2 : 1;
        for (int press = 1; press <= presses; ++press) {
            WithNextModal(
                [&] {
                    QTest::keyClick(dialog.windowHandle(), Qt::Key(letter.unicode()), Qt::AltModifier);
                    QVERIFY(QTest::qWaitFor([&] { return clicked.count() == press; }));
                },
                [](QWidget*) {});
            QVERIFY2(clicked.count() == press, qPrintable(control->text()));
            if (control->isCheckable())
                QCOMPARE(control->isChecked(), press == 1 ? !checked : checked);
        }
    }
}

QTEST_MAIN(HighlightDialogTests)
#include "HighlightDialogTests.moc"

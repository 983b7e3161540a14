// Guards the two setup dialogs as a player meets them: choices, close boxes, validation, tab order.
#include "assets/DesignFonts.h"
#include "engine/GameState.h"
#include "setup/OptionsDialog.h"
#include "setup/SelectDialog.h"
#include "testing/ModalDialogDriver.h"
#include "tests/support/ChildNamed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class SetupDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDesignFonts(); }
    void selectorButtonsChooseTheirType_data();
    void selectorButtonsChooseTheirType();
    void selectorCloseBoxChoosesNothing();
    void selectorWorksByKeyboard();
    void optionsLoadFromTheGameState();
    void optionsKeepALongCountWhole();
    void optionsEnterPressesOnlyAFocusedOk();
    void optionsOkStoresTheOptions();
    void optionsRejectInvalidCountAndStayOpen();
    void optionsClosedAfterRejectedOkKeepSwitchesOnly();
    void optionsCloseBoxChangesNothing();
    void optionsTabOrder();
};

void SetupDialogsTest::selectorButtonsChooseTheirType_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Addition") << 0 << "Addition";
    QTest::newRow("Subtraction") << 1 << "Subtraction";
    QTest::newRow("Multiplication") << 2 << "Multiplication";
    QTest::newRow("Division") << 3 << "Division";
    QTest::newRow("Random") << 4 << "Random";
}

void SetupDialogsTest::selectorButtonsChooseTheirType()
{
    QFETCH(int, index);
    QFETCH(QString, caption);

    GameState globals;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), "frmSelect");
        QCOMPARE(dialog->windowTitle(), "Select Problem Type:");
        QCOMPARE(globals.DialogResult, -1);
        auto* button = child<QPushButton>(dialog, QStringLiteral("Command1_%1").arg(index));
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        button->click();
    });
    SelectDialog::showModal(nullptr, globals);
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(globals.DialogResult, 0);
    QCOMPARE(globals.ProblemType, index + 1);
}

void SetupDialogsTest::selectorCloseBoxChoosesNothing()
{
    GameState globals;
    globals.ProblemType = 3;
    globals.DialogResult = 0; // a previous choice
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(globals.DialogResult, -1); // reset when the dialog loads
        dialog->close();
    });
    SelectDialog::showModal(nullptr, globals);
    QVERIFY(driver.finished());
    QCOMPARE(globals.DialogResult, -1);
    QCOMPARE(globals.ProblemType, 3);
}

void SetupDialogsTest::selectorWorksByKeyboard()
{
    // Tab walks the buttons in their order; Space presses the focused one.
    GameState globals;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QTRY_VERIFY(child<QWidget>(dialog, "Command1_0")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), "Command1_2");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    });
    SelectDialog::showModal(nullptr, globals);
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(globals.ProblemType, 3);
}

void SetupDialogsTest::optionsLoadFromTheGameState()
{
    GameState globals;
    globals.HideTime = true;
    globals.OnlyAllowCorrect = true;
    globals.PracticeProblemCount = 25;
    globals.MaxOperand = 12;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QCOMPARE(dialog->windowTitle(), "Practice Options");
        QVERIFY(child<QCheckBox>(dialog, "Check1")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "Check2")->isChecked());
        QVERIFY(child<QCheckBox>(dialog, "Check3")->isChecked());
        QCOMPARE(child<QLineEdit>(dialog, "Text1")->text(), "25");
        auto* combo = child<QComboBox>(dialog, "Combo1");
        QCOMPARE(combo->count(), 21);
        QCOMPARE(combo->itemText(0), "10");
        QCOMPARE(combo->itemText(20), "30");
        QCOMPARE(combo->currentText(), "12");
        QVERIFY(!combo->isEditable());
        dialog->close();
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QVERIFY(driver.closedByForce().isEmpty());
}

// A count longer than three characters, chosen earlier as "1e3", is shown and kept whole; only
// what is typed is held to three characters.
void SetupDialogsTest::optionsKeepALongCountWhole()
{
    GameState globals;
    globals.PracticeProblemCount = 1000;
    ModalDialogDriver driver;
    driver.then([](QWidget* dialog) {
        QCOMPARE(child<QLineEdit>(dialog, "Text1")->text(), "1000");
        child<QCheckBox>(dialog, "Check2")->setChecked(true);
        clickChild(dialog, "Command1");
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QCOMPARE(globals.PracticeProblemCount, 1000);
    QVERIFY(globals.HideCounts);

    driver.then([](QWidget* dialog) {
        auto* text = child<QLineEdit>(dialog, "Text1");
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, "12345");
        QCOMPARE(text->text(), "123");
        clickChild(dialog, "Command1");
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QCOMPARE(globals.PracticeProblemCount, 123);
}

// The dialog has no default button: Enter in the count or on a switch presses nothing, and
// Enter on OK, when OK has the focus, presses it.
void SetupDialogsTest::optionsEnterPressesOnlyAFocusedOk()
{
    GameState globals;
    globals.PracticeProblemCount = 20;
    bool stillOpen = false;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        auto* text = child<QLineEdit>(dialog, "Text1");
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, "7");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, Qt::Key_Enter);
        QTest::keyClick(child<QCheckBox>(dialog, "Check1"), Qt::Key_Return);
        stillOpen = dialog->isVisible();
        QVERIFY(stillOpen);
        QTest::keyClick(text, Qt::Key_Tab);
        auto* ok = child<QPushButton>(dialog, "Command1");
        QVERIFY(ok->hasFocus());
        QTest::keyClick(ok, Qt::Key_Return);
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QVERIFY(stillOpen);
    QCOMPARE(globals.DialogResult, 0);
    QCOMPARE(globals.PracticeProblemCount, 7);
}

void SetupDialogsTest::optionsOkStoresTheOptions()
{
    GameState globals;
    CountsRowVisibility shown;
    int rowUpdates = 0;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        child<QCheckBox>(dialog, "Check1")->setChecked(true);
        child<QCheckBox>(dialog, "Check2")->setChecked(true);
        child<QCheckBox>(dialog, "Check3")->setChecked(true);
        auto* text = child<QLineEdit>(dialog, "Text1");
        text->selectAll();
        QTest::keyClicks(text, "2.5");
        child<QComboBox>(dialog, "Combo1")->setCurrentIndex(20);
        clickChild(dialog, "Command1");
    });
    OptionsDialog::showModal(nullptr, globals, [&](const CountsRowVisibility& row) {
        shown = row;
        ++rowUpdates;
    });
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(globals.DialogResult, 0);
    QCOMPARE(globals.PracticeProblemCount, 2);
    QCOMPARE(globals.MaxOperand, 30);
    QVERIFY(globals.HideTime && globals.HideCounts && globals.OnlyAllowCorrect);
    QCOMPARE(rowUpdates, 1);
    QCOMPARE(shown, CountsRowVisibility {});
}

void SetupDialogsTest::optionsRejectInvalidCountAndStayOpen()
{
    GameState globals;
    globals.PracticeProblemCount = 40;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        auto* text = child<QLineEdit>(dialog, "Text1");
        text->selectAll();
        QTest::keyClicks(text, "9e9");
        clickChild(dialog, "Command1");
        // After the message: still open, count field focused with all of its text selected.
        QVERIFY(dialog->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), text);
        QCOMPARE(text->selectedText(), "9e9");
        QCOMPARE(globals.DialogResult, -1);
        text->selectAll();
        QTest::keyClicks(text, "15");
        clickChild(dialog, "Command1");
    });
    driver.then([&](QWidget* message) {
        auto* box = qobject_cast<QMessageBox*>(message);
        QVERIFY(box);
        QCOMPARE(box->text(), "Please enter a valid number of problems.");
        QCOMPARE(box->windowTitle(), "Sumdash!");
        QCOMPARE(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QVERIFY(driver.finished());
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(globals.PracticeProblemCount, 15);
    QCOMPARE(globals.DialogResult, 0);
}

void SetupDialogsTest::optionsClosedAfterRejectedOkKeepSwitchesOnly()
{
    // The switches and the main window's row follow the boxes at OK, even when the number is
    // rejected; the count and the largest operand stay as they were.
    GameState globals;
    globals.PracticeProblemCount = 40;
    globals.MaxOperand = 20;
    CountsRowVisibility shown { true, true, true, true, true };
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        child<QCheckBox>(dialog, "Check2")->setChecked(true);
        child<QLineEdit>(dialog, "Text1")->clear();
        child<QComboBox>(dialog, "Combo1")->setCurrentIndex(0);
        clickChild(dialog, "Command1");
        dialog->close();
    });
    driver.then([](QWidget* message) { qobject_cast<QDialog*>(message)->accept(); });
    OptionsDialog::showModal(nullptr, globals,
                             [&](const CountsRowVisibility& row) { shown = row; });
    QVERIFY(driver.closedByForce().isEmpty());
    QCOMPARE(globals.DialogResult, -1);
    QVERIFY(globals.HideCounts);
    QCOMPARE(globals.PracticeProblemCount, 40);
    QCOMPARE(globals.MaxOperand, 20);
    const CountsRowVisibility countsHidden { false, false, false, false, true };
    QCOMPARE(shown, countsHidden);
}

void SetupDialogsTest::optionsCloseBoxChangesNothing()
{
    GameState globals;
    bool rowTouched = false;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        child<QCheckBox>(dialog, "Check1")->setChecked(true);
        child<QLineEdit>(dialog, "Text1")->setText("7");
        dialog->close();
    });
    OptionsDialog::showModal(nullptr, globals,
                             [&](const CountsRowVisibility&) { rowTouched = true; });
    QCOMPARE(globals.DialogResult, -1);
    QVERIFY(!globals.HideTime);
    QCOMPARE(globals.PracticeProblemCount, 100);
    QVERIFY(!rowTouched);
}

void SetupDialogsTest::optionsTabOrder()
{
    GameState globals;
    QStringList order;
    ModalDialogDriver driver;
    driver.then([&](QWidget* dialog) {
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
        for (int i = 0; i < 6; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        dialog->close();
    });
    OptionsDialog::showModal(nullptr, globals, {});
    QCOMPARE(order, QStringList({ "Check1", "Check2", "Check3", "Text1", "Command1", "Combo1" }));
}

QTEST_MAIN(SetupDialogsTest)
#include "SetupDialogsTest.moc"

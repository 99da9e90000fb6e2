// The dialog as it stands before any command: ids, texts, places, focus, icon,
// and the file dialog that "Add Files..." opens.

#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "app/button_labels.h"
#include "app/dialog_test_support.h"
#include "app/dialog_units.h"
#include "app/image_tool_dlg.h"
#include "app/song_file_dialog.h"
#include "dialog/song_file_choice.h"

using namespace zmr::gui;
using zmr::test::actionById;
using zmr::test::controlById;

class DialogLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void controlsCarryTheirIdsAndTexts();
    void menuHoldsAddFilesSongBookPreviewAndExit();
    void optionsMenuHoldsTheReadingOptions();
    void controlsStandAtTheirPlacesInDialogUnits();
    void dialogUnitsRoundToTheNearestPixel();
    void buttonLabelsFitTheirButtons();
    void focusStartsOnQuit();
    void iconHasBothSizesInSixteenColours();
    void fileDialogOpensWithTheKaraokeFilterAndTheFilledInName();
};

void DialogLayoutTest::controlsCarryTheirIdsAndTexts() {
    CImageToolDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("ZMR Disc Image Tool"));
    const struct {
        int id;
        const char* text;
        bool visible;
    } buttons[] = {{1, "Quit", true}, {2, "Cancel", false}, {3, "Create Image", true}, {4, "Remove", true}};
    dialog.show();
    for (const auto& b : buttons) {
        auto* button = controlById<QPushButton>(dialog, b.id);
        QVERIFY2(button, b.text);
        QCOMPARE(button->text(), QString(b.text));
        QCOMPARE(button->isVisible(), b.visible);
    }
    QVERIFY(controlById<QPushButton>(dialog, 1)->isDefault());
    QVERIFY(controlById<QListWidget>(dialog, 1000));
    QCOMPARE(controlById<QListWidget>(dialog, 1000)->selectionMode(), QAbstractItemView::MultiSelection);
    QVERIFY(controlById<QProgressBar>(dialog, 1001));
}

void DialogLayoutTest::menuHoldsAddFilesSongBookPreviewAndExit() {
    CImageToolDlg dialog;
    auto* menuBar = dialog.findChild<QMenuBar*>();
    QVERIFY(menuBar);
    QCOMPARE(menuBar->actions().size(), 2);
    QCOMPARE(menuBar->actions().first()->text(), QString("File"));
    const QList<QAction*> items = menuBar->actions().first()->menu()->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0], actionById(dialog, 32771));
    QCOMPARE(items[0]->text(), QString("Add Files..."));
    QCOMPARE(items[1], actionById(dialog, 32773));
    QCOMPARE(items[1]->text(), QString("Song Book..."));
    QCOMPARE(items[2], actionById(dialog, 32780));
    QCOMPARE(items[2]->text(), QString("Preview..."));
    QCOMPARE(items[3], actionById(dialog, 32772));
    QCOMPARE(items[3]->text(), QString("Exit"));
}

// Beside "File": the text encoding as four choices, then the two switches.
void DialogLayoutTest::optionsMenuHoldsTheReadingOptions() {
    zmr::test::IsolatedSettings settings;
    CImageToolDlg dialog;
    QAction* options = dialog.findChild<QMenuBar*>()->actions().at(1);
    QCOMPARE(options->text(), QString("Options"));
    const QList<QAction*> items = options->menu()->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->text(), QString("Text Encoding"));
    QCOMPARE(items[1], actionById(dialog, 32778));
    QCOMPARE(items[2], actionById(dialog, 32779));
    const QList<QAction*> encodings = items[0]->menu()->actions();
    QCOMPARE(encodings.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(encodings[i], actionById(dialog, 32774 + i));
        QVERIFY(encodings[i]->isCheckable());
        QCOMPARE(encodings[i]->isChecked(), i == 0);  // "VIQR or VNI", the player's own reading
    }
    QVERIFY(items[1]->isCheckable() && !items[1]->isChecked());
    QVERIFY(items[2]->isCheckable() && !items[2]->isChecked());
}

void DialogLayoutTest::controlsStandAtTheirPlacesInDialogUnits() {
    CImageToolDlg dialog;
    dialog.show();
    const DialogUnits units = DialogUnits::of(dialog.font());
    const int menuHeight = dialog.findChild<QMenuBar*>()->height();
    QVERIFY(menuHeight > 0);
    const struct {
        int id;
        QRect units;
    } places[] = {{1, {263, 48, 50, 14}},  {2, {263, 68, 50, 14}}, {1000, {7, 7, 249, 171}},
                  {3, {263, 27, 50, 14}},  {4, {263, 7, 50, 14}},  {1001, {7, 182, 306, 11}}};
    for (const auto& p : places) {
        QWidget* control = controlById(dialog, p.id);
        QVERIFY(control);
        QCOMPARE(control->geometry().translated(0, -menuHeight), units.toPixels(p.units));
    }
    QCOMPARE(dialog.size(), QSize(units.toPixelsX(320), menuHeight + units.toPixelsY(200)));
    // Fixed, as a modal frame is.
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    // The buttons stand in a column at the right, from the top: Remove, Create Image, Quit.
    QVERIFY(controlById(dialog, 4)->y() < controlById(dialog, 3)->y());
    QVERIFY(controlById(dialog, 3)->y() < controlById(dialog, 1)->y());
    QVERIFY(controlById(dialog, 1000)->geometry().right() < controlById(dialog, 1)->x());
}

void DialogLayoutTest::dialogUnitsRoundToTheNearestPixel() {
    // Average character width 6, height 14: the default dialog font offscreen.
    const DialogUnits units(6, 14);
    QCOMPARE(units.toPixelsX(320), 480);
    QCOMPARE(units.toPixelsY(200), 350);
    QCOMPARE(units.toPixelsX(249), 374);  // 373.5 rounds up
    QCOMPARE(units.toPixelsY(171), 299);  // 299.25 rounds down
    QCOMPARE(units.toPixelsY(7), 12);     // 12.25
    QCOMPARE(units.toPixels(QRect(263, 27, 50, 14)), QRect(395, 47, 75, 25));
}

void DialogLayoutTest::buttonLabelsFitTheirButtons() {
    CImageToolDlg dialog;
    dialog.show();
    const QFont buttonFont = controlById(dialog, 1)->font();
    for (int id : {1, 2, 3, 4}) {
        auto* button = controlById<QPushButton>(dialog, id);
        QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <= labelRoom(*button),
                 qPrintable(button->text()));
        QCOMPARE(button->font(), buttonFont);  // one size for all of them
    }
    QVERIFY(buttonFont.pointSizeF() <= dialog.font().pointSizeF());
    // The list keeps the dialog's font.
    QCOMPARE(controlById(dialog, 1000)->font(), dialog.font());
}

void DialogLayoutTest::focusStartsOnQuit() {
    CImageToolDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), controlById(dialog, 1));
}

void DialogLayoutTest::iconHasBothSizesInSixteenColours() {
    CImageToolDlg dialog;
    const QIcon icon = dialog.windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
    for (int side : {16, 32}) {
        const QImage image = icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(side, side));
        QSet<QRgb> colours;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (qAlpha(image.pixel(x, y)) != 0) colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
        QVERIFY(colours.size() >= 2);
    }
}

void DialogLayoutTest::fileDialogOpensWithTheKaraokeFilterAndTheFilledInName() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFileDialog dialog;
    prepareSongFileDialog(dialog);
    dialog.setDirectory(folder.path());
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.nameFilters(), QStringList({"Karaoke File (*.kar)", "MIDI File (*.mid)"}));
    QCOMPARE(dialog.selectedNameFilter(), QString("Karaoke File (*.kar)"));
    dialog.show();
    // Confirming the filled-in name, which names no file, takes the folder.
    static_cast<QDialog&>(dialog).accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFiles(), QStringList({folder.path() + "/All file"}));
    const std::string confirmed = dialog.selectedFiles().first().toStdString();
    QCOMPARE(QString::fromStdString(zmr::dialog::folderOfConfirmedPath(confirmed)), folder.path() + "/");
}

QTEST_MAIN(DialogLayoutTest)
#include "dialog_layout_test.moc"

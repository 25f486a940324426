// The Optional Features and Product Information dialogs: what they show for
// the bytes and settings they open on, what OK and Cancel store, and F1.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/OptionalFeaturesDlg.h"
#include "settings/ui/ProductInfoDlg.h"
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"

namespace {

QPushButton* button(QDialog& dialog, int id)
{
    return dialog.findChild<QPushButton*>(LanguageModule::controlName(id));
}

QStringList entries(const QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

const QByteArray kTwoModels =
    "[Setup]\nLanguage=English\nAppName=Test Programmer\n"
    "Type1=KQ-517\nField1=130 - 160MHz|136.5 - 174MHz|150MHz\n"
    "Type2=KQ-518\nField2=400 - 470MHz|a|\n"
    "[English]\nAppName=Programmer\n"
    "[Chinese]\nAppName=Programmer CN\n";

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void optionalOpen_data();
    void optionalOpen();
    void optionalOk_data();
    void optionalOk();
    void optionalCancel();
    void optionalNoDocument();
    void optionalChineseTemplate();
    void optionalHelp_data();
    void optionalHelp();

    void productLists_data();
    void productLists();
    void productChangeModel();
    void productOk_data();
    void productOk();
    void productCancel();
    void productNoDocument();
    void productHelp_data();
    void productHelp();
};

void TestOptions::initTestCase()
{
    HelpLauncher::setLaunchEnabled(false);
    QVERIFY(LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR)));
}

void TestOptions::cleanup()
{
    HelpLauncher::clearRequests();
    LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR));
}

// --- Optional Features ---------------------------------------------------

void TestOptions::optionalOpen_data()
{
    QTest::addColumn<int>("beep");
    QTest::addColumn<int>("squelch");
    QTest::addColumn<int>("timeOut");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("squelchText");
    QTest::addColumn<QString>("timeOutText");

    QTest::newRow("new document") << 0x01 << 4 << 2 << true << "4" << "60s";
    QTest::newRow("beep FE") << 0xFE << 0 << 0 << false << "0" << "Off";
    QTest::newRow("last entries") << 0x03 << 9 << 10 << true << "9" << "300s";
    QTest::newRow("blank image") << 0xFF << 0xFF << 0xFF << true << "" << "";
    QTest::newRow("just beyond lists") << 0x00 << 10 << 11 << false << "" << "";
}

void TestOptions::optionalOpen()
{
    QFETCH(int, beep);
    QFETCH(int, squelch);
    QFETCH(int, timeOut);

    CKQ_517Doc doc;
    doc.image().set(layout::kBeep, std::uint8_t(beep));
    doc.image().set(layout::kSquelchLevel, std::uint8_t(squelch));
    doc.image().set(layout::kTimeOutTimer, std::uint8_t(timeOut));

    COptionalFeaturesDlg dlg;
    dlg.setTarget(&doc);
    dlg.show();
    QVERIFY(dlg.m_checkBeep && dlg.m_comboSquelch && dlg.m_comboTimeOut);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Optional Features"));
    QCOMPARE(dlg.m_comboSquelch->count(), 10);
    QCOMPARE(dlg.m_comboTimeOut->count(), 11);
    QTEST(dlg.m_checkBeep->isChecked(), "ticked");
    QTEST(dlg.m_comboSquelch->currentText(), "squelchText");
    QTEST(dlg.m_comboTimeOut->currentText(), "timeOutText");
    QCOMPARE(dlg.m_comboSquelch->currentIndex() == -1, squelch >= 10);
    QCOMPARE(dlg.m_comboTimeOut->currentIndex() == -1, timeOut >= 11);
}

void TestOptions::optionalOk_data()
{
    QTest::addColumn<QByteArray>("before");  // beep, squelch, time-out
    QTest::addColumn<int>("tick");           // -1 leave, 0 clear, 1 tick
    QTest::addColumn<int>("squelchChoice");  // -2 leave, else position
    QTest::addColumn<int>("timeOutChoice");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("unchanged") << QByteArray("\x01\x04\x02", 3) << -1 << -2 << -2
                               << QByteArray("\x01\x04\x02", 3);
    QTest::newRow("FE ticked") << QByteArray("\xFE\x04\x02", 3) << 1 << -2 << -2
                               << QByteArray("\xFF\x04\x02", 3);
    QTest::newRow("01 cleared") << QByteArray("\x01\x04\x02", 3) << 0 << -2 << -2
                                << QByteArray("\x00\x04\x02", 3);
    QTest::newRow("other beep bits kept") << QByteArray("\x82\x04\x02", 3) << 1 << -2 << -2
                                          << QByteArray("\x83\x04\x02", 3);
    QTest::newRow("Off") << QByteArray("\x01\x04\x02", 3) << -1 << -2 << 0
                         << QByteArray("\x01\x04\x00", 3);
    QTest::newRow("300s") << QByteArray("\x01\x04\x02", 3) << -1 << -2 << 10
                          << QByteArray("\x01\x04\x0A", 3);
    QTest::newRow("squelch 9") << QByteArray("\x01\x04\x02", 3) << -1 << 9 << -2
                               << QByteArray("\x01\x09\x02", 3);
    QTest::newRow("FF squelch kept as none") << QByteArray("\x01\xFF\x02", 3) << -1 << -2 << -2
                                             << QByteArray("\x01\xFF\x02", 3);
    QTest::newRow("squelch 12 stored as none") << QByteArray("\x01\x0C\x0B", 3) << -1 << -2 << -2
                                               << QByteArray("\x01\xFF\xFF", 3);
    QTest::newRow("blank image, choices made") << QByteArray("\xFF\xFF\xFF", 3) << 0 << 3 << 1
                                               << QByteArray("\xFE\x03\x01", 3);
}

void TestOptions::optionalOk()
{
    QFETCH(QByteArray, before);
    QFETCH(int, tick);
    QFETCH(int, squelchChoice);
    QFETCH(int, timeOutChoice);
    QFETCH(QByteArray, after);

    CKQ_517Doc doc;
    const MemoryImage untouched = doc.image();
    doc.image().set(layout::kBeep, std::uint8_t(before[0]));
    doc.image().set(layout::kSquelchLevel, std::uint8_t(before[1]));
    doc.image().set(layout::kTimeOutTimer, std::uint8_t(before[2]));

    COptionalFeaturesDlg dlg;
    dlg.setTarget(&doc);
    dlg.show();
    if (tick >= 0)
        dlg.m_checkBeep->setChecked(tick == 1);
    if (squelchChoice >= -1)
        dlg.m_comboSquelch->setCurrentIndex(squelchChoice);
    if (timeOutChoice >= -1)
        dlg.m_comboTimeOut->setCurrentIndex(timeOutChoice);
    QTest::mouseClick(button(dlg, 1), Qt::LeftButton);

    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(doc.image().at(layout::kBeep), std::uint8_t(after[0]));
    QCOMPARE(doc.image().at(layout::kSquelchLevel), std::uint8_t(after[1]));
    QCOMPARE(doc.image().at(layout::kTimeOutTimer), std::uint8_t(after[2]));
    // Nothing else of the image changes.
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        if (offset == layout::kBeep || offset == layout::kSquelchLevel || offset == layout::kTimeOutTimer)
            continue;
        QCOMPARE(doc.image().at(offset), untouched.at(offset));
    }
}

void TestOptions::optionalCancel()
{
    CKQ_517Doc doc;
    doc.image().set(layout::kBeep, 0x01);
    doc.image().set(layout::kSquelchLevel, 4);
    doc.image().set(layout::kTimeOutTimer, 2);
    const MemoryImage before = doc.image();

    COptionalFeaturesDlg dlg;
    dlg.setTarget(&doc);
    for (int way = 0; way < 2; ++way) {
        dlg.show();
        dlg.m_checkBeep->setChecked(false);
        dlg.m_comboSquelch->setCurrentIndex(9);
        dlg.m_comboTimeOut->setCurrentIndex(0);
        if (way == 0)
            QTest::mouseClick(button(dlg, 2), Qt::LeftButton);
        else
            QTest::keyClick(dlg.m_comboSquelch, Qt::Key_Escape);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.isVisible());
        QVERIFY(doc.image() == before);
    }

    // Opening again shows the image, not the abandoned choices.
    dlg.show();
    QVERIFY(dlg.m_checkBeep->isChecked());
    QCOMPARE(dlg.m_comboSquelch->currentIndex(), 4);
    QCOMPARE(dlg.m_comboTimeOut->currentIndex(), 2);
}

void TestOptions::optionalNoDocument()
{
    // No main window here, so there is no active document: nothing to edit.
    COptionalFeaturesDlg dlg;
    dlg.show();
    QVERIFY(dlg.m_comboSquelch);
    QVERIFY(!dlg.m_comboSquelch->isEnabled());
    QVERIFY(!dlg.m_comboTimeOut->isEnabled());
    QVERIFY(!dlg.m_checkBeep->isEnabled());
    QVERIFY(!button(dlg, 1)->isEnabled());
    QVERIFY(button(dlg, 2)->isEnabled());
    QCOMPARE(dlg.m_comboSquelch->currentIndex(), -1);

    // A document that goes away while the dialog is open is not written either.
    auto* doc = new CKQ_517Doc;
    dlg.setTarget(doc);
    dlg.hide();
    dlg.show();
    QVERIFY(dlg.m_comboSquelch->isEnabled());
    delete doc;
    dlg.m_comboSquelch->setCurrentIndex(1);
    dlg.accept();  // must not touch the deleted image
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TestOptions::optionalChineseTemplate()
{
    QVERIFY(LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR)));
    CKQ_517Doc doc;
    doc.image().set(layout::kSquelchLevel, 7);
    doc.image().set(layout::kTimeOutTimer, 10);
    COptionalFeaturesDlg dlg;
    dlg.setTarget(&doc);
    dlg.show();
    QVERIFY(dlg.m_comboSquelch && dlg.m_comboTimeOut);
    QCOMPARE(dlg.m_comboSquelch->count(), 10);
    QCOMPARE(dlg.m_comboTimeOut->count(), 11);
    QCOMPARE(dlg.m_comboSquelch->currentIndex(), 7);
    QCOMPARE(dlg.m_comboTimeOut->currentIndex(), 10);
    QVERIFY(dlg.windowTitle() != QStringLiteral("Optional Features"));
}

void TestOptions::optionalHelp_data()
{
    QTest::addColumn<int>("control");
    for (int id : {1116, 1118, 1014, 1, 2})
        QTest::addRow("%d", id) << id;
}

void TestOptions::optionalHelp()
{
    QFETCH(int, control);
    CKQ_517Doc doc;
    COptionalFeaturesDlg dlg;
    dlg.setTarget(&doc);
    dlg.show();
    auto* widget = dlg.findChild<QWidget*>(LanguageModule::controlName(control));
    QVERIFY(widget);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F1);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().last().context, control);
    QCOMPARE(HelpLauncher::requests().last().command, HelpLauncher::kHelpContextCommand);
    QVERIFY(dlg.isVisible());  // F1 does not close the dialog
}

// --- Product Information -------------------------------------------------

void TestOptions::productLists_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<qint64>("storedType");  // -2: no stored value
    QTest::addColumn<qint64>("storedField");
    QTest::addColumn<QStringList>("models");
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("bands");
    QTest::addColumn<int>("band");

    const QByteArray head = "[Setup]\nAppName=Test Programmer\n";
    QTest::newRow("nothing stored") << kTwoModels << qint64(-2) << qint64(-2)
                                    << QStringList{"KQ-517", "KQ-518"} << 0
                                    << QStringList{"130 - 160MHz", "136.5 - 174MHz", "150MHz"} << 0;
    QTest::newRow("stored model and band") << kTwoModels << qint64(1) << qint64(2)
                                           << QStringList{"KQ-517", "KQ-518"} << 1
                                           << QStringList{"400 - 470MHz", "a", ""} << 2;
    QTest::newRow("gap ends the list") << head + "Type1=A\nType2=B\nType3=\nType4=D\nField1=x\n"
                                       << qint64(-2) << qint64(-2) << QStringList{"A", "B"} << 0
                                       << QStringList{"x"} << 0;
    QTest::newRow("missing key ends the list") << head + "Type1=A\nType3=C\n" << qint64(-2) << qint64(-2)
                                               << QStringList{"A"} << 0 << QStringList{""} << 0;
    QTest::newRow("trailing bar") << head + "Type1=A\nField1=a|b|\n" << qint64(-2) << qint64(-2)
                                  << QStringList{"A"} << 0 << QStringList{"a", "b", ""} << 0;
    QTest::newRow("no models") << head << qint64(-2) << qint64(-2) << QStringList{} << -1
                               << QStringList{""} << 0;
    QTest::newRow("no models, Field0 present") << head + "Field0=z|y\n" << qint64(-2) << qint64(-2)
                                               << QStringList{} << -1 << QStringList{"z", "y"} << 0;
    QTest::newRow("stored model out of range") << kTwoModels << qint64(2) << qint64(0)
                                               << QStringList{"KQ-517", "KQ-518"} << -1
                                               << QStringList{""} << 0;
    QTest::newRow("stored band out of range") << kTwoModels << qint64(0) << qint64(3)
                                              << QStringList{"KQ-517", "KQ-518"} << 0
                                              << QStringList{"130 - 160MHz", "136.5 - 174MHz", "150MHz"}
                                              << -1;
    QTest::newRow("stored -1") << kTwoModels << qint64(0xFFFFFFFF) << qint64(0xFFFFFFFF)
                               << QStringList{"KQ-517", "KQ-518"} << -1 << QStringList{""} << -1;

    QByteArray many = head;
    QStringList names;
    for (int n = 1; n <= 21; ++n) {
        many += "Type" + QByteArray::number(n) + "=M" + QByteArray::number(n) + "\n";
        if (n <= 19)
            names << QStringLiteral("M%1").arg(n);
    }
    QTest::newRow("at most 19 models") << many << qint64(-2) << qint64(-2) << names << 0
                                       << QStringList{""} << 0;
}

void TestOptions::productLists()
{
    QFETCH(QByteArray, ini);
    QFETCH(qint64, storedType);
    QFETCH(qint64, storedField);

    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(ini));
    QVERIFY(dir.openSettingsAndLanguage(false));
    UserStore user = UserStore::fromSettings();
    if (storedType != -2)
        user.write(QStringLiteral("Type"), std::uint32_t(storedType));
    if (storedField != -2)
        user.write(QStringLiteral("Field"), std::uint32_t(storedField));

    CKQ_517Doc doc;
    CProductInfoDlg dlg;
    dlg.setTarget(&doc, nullptr);
    dlg.show();
    QVERIFY(dlg.m_comboType && dlg.m_comboBand);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Product Information"));
    QTEST(entries(dlg.m_comboType), "models");
    QTEST(dlg.m_comboType->currentIndex(), "model");
    QTEST(entries(dlg.m_comboBand), "bands");
    QTEST(dlg.m_comboBand->currentIndex(), "band");
}

void TestOptions::productChangeModel()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kTwoModels));
    QVERIFY(dir.openSettingsAndLanguage(false));
    UserStore::fromSettings().write(QStringLiteral("Field"), 2);

    CKQ_517Doc doc;
    CProductInfoDlg dlg;
    dlg.setTarget(&doc, nullptr);
    dlg.show();
    QCOMPARE(dlg.m_comboBand->currentIndex(), 2);

    // The user picks the next model: its bands, the first one selected.
    dlg.m_comboType->setFocus();
    QTest::keyClick(dlg.m_comboType, Qt::Key_Down);
    QCOMPARE(dlg.m_comboType->currentIndex(), 1);
    QCOMPARE(entries(dlg.m_comboBand), (QStringList{"400 - 470MHz", "a", ""}));
    QCOMPARE(dlg.m_comboBand->currentIndex(), 0);

    // And back: the earlier band choice is gone.
    QTest::keyClick(dlg.m_comboType, Qt::Key_Up);
    QCOMPARE(dlg.m_comboType->currentIndex(), 0);
    QCOMPARE(dlg.m_comboBand->count(), 3);
    QCOMPARE(dlg.m_comboBand->currentIndex(), 0);
}

void TestOptions::productOk_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("model");  // choices made in the dialog, -1 none
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("modelByte");
    QTest::addColumn<int>("bandByte");
    QTest::addColumn<quint32>("storedType");
    QTest::addColumn<quint32>("storedField");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");

    QTest::newRow("first band") << "English" << 0 << 0 << 0 << 0 << 0u << 0u
                                << "Programmer  [ Type:KQ-517  Fre:130 - 160MHz ]" << 13000000 << 16000000;
    QTest::newRow("fraction lost") << "English" << 0 << 1 << 0 << 1 << 0u << 1u
                                   << "Programmer  [ Type:KQ-517  Fre:136.5 - 174MHz ]" << 13600000
                                   << 17400000;
    QTest::newRow("no dash") << "English" << 0 << 2 << 0 << 2 << 0u << 2u
                             << "Programmer  [ Type:KQ-517  Fre:150MHz ]" << 15000000 << 15000000;
    QTest::newRow("empty band") << "English" << 1 << 2 << 1 << 2 << 1u << 2u
                                << "Programmer  [ Type:KQ-518  Fre: ]" << 0 << 0;
    QTest::newRow("no band selected") << "English" << 1 << -1 << 1 << 0xFF << 1u << 0xFFFFFFFFu
                                      << "Programmer  [ Type:KQ-518  Fre: ]" << 0 << 0;
    // No model: the band list is the one empty entry of the absent "Field0".
    QTest::newRow("no model selected") << "English" << -1 << 0 << 0xFF << 0 << 0xFFFFFFFFu << 0u
                                       << "Programmer  [ Type:  Fre: ]" << 0 << 0;
    QTest::newRow("Chinese interface, English labels")
        << "Chinese" << 1 << 0 << 1 << 0 << 1u << 0u << "Programmer CN  [ Type:KQ-518  Fre:400 - 470MHz ]"
        << 40000000 << 47000000;
}

void TestOptions::productOk()
{
    QFETCH(QString, language);
    QFETCH(int, model);
    QFETCH(int, band);

    TempUserStore store;
    TempProgramDir dir;
    QByteArray ini = kTwoModels;
    ini.replace("Language=English", "Language=" + language.toUtf8());
    QVERIFY(dir.writeSettings(ini));
    QVERIFY(dir.openSettingsAndLanguage(false));
    QCOMPARE(g_bChinese, language == QLatin1String("Chinese"));
    g_strMainTitle.clear();

    CKQ_517Doc doc;
    const MemoryImage before = doc.image();
    CKQ_517View view(&doc);
    view.m_nBandLow = 1;
    view.m_nBandHigh = 2;

    CProductInfoDlg dlg;
    dlg.setTarget(&doc, &view);
    dlg.show();
    dlg.m_comboType->setCurrentIndex(model);
    dlg.OnSelChangeType();  // what a choice of the user runs
    dlg.m_comboBand->setCurrentIndex(band);
    QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));

    QTEST(int(doc.image().at(layout::kModelIndex)), "modelByte");
    QTEST(int(doc.image().at(layout::kBandIndex)), "bandByte");
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        if (offset != layout::kModelIndex && offset != layout::kBandIndex)
            QCOMPARE(doc.image().at(offset), before.at(offset));
    }
    const UserStore user = UserStore::fromSettings();
    QTEST(quint32(user.read(QStringLiteral("Type"), 12345u)), "storedType");
    QTEST(quint32(user.read(QStringLiteral("Field"), 12345u)), "storedField");
    QTEST(g_strMainTitle, "title");
    QTEST(int(view.m_nBandLow), "low");
    QTEST(int(view.m_nBandHigh), "high");

    // The stored choice is what the dialog opens on next time.
    CProductInfoDlg again;
    again.setTarget(&doc, &view);
    again.show();
    QCOMPARE(again.m_comboType->currentIndex(), model);
    QCOMPARE(again.m_comboBand->currentIndex(), model < 0 ? (band < 0 ? -1 : 0) : band);
}

void TestOptions::productCancel()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kTwoModels));
    QVERIFY(dir.openSettingsAndLanguage(false));
    g_strMainTitle = QStringLiteral("before");

    CKQ_517Doc doc;
    const MemoryImage before = doc.image();
    CKQ_517View view(&doc);
    view.m_nBandLow = 111;
    view.m_nBandHigh = 222;

    CProductInfoDlg dlg;
    dlg.setTarget(&doc, &view);
    dlg.show();
    dlg.m_comboType->setFocus();
    QTest::keyClick(dlg.m_comboType, Qt::Key_Down);  // another model
    QCOMPARE(dlg.m_comboType->currentIndex(), 1);
    QTest::mouseClick(button(dlg, 2), Qt::LeftButton);

    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(doc.image() == before);
    std::uint32_t value = 0;
    QVERIFY(!UserStore::fromSettings().read(QStringLiteral("Type"), &value));
    QVERIFY(!UserStore::fromSettings().read(QStringLiteral("Field"), &value));
    QCOMPARE(g_strMainTitle, QStringLiteral("before"));
    QCOMPARE(view.m_nBandLow, 111);
    QCOMPARE(view.m_nBandHigh, 222);
}

void TestOptions::productNoDocument()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kTwoModels));
    QVERIFY(dir.openSettingsAndLanguage(false));

    // Neither document nor view: the dialog still lists the models, and OK
    // leaves every image and view alone.
    CKQ_517Doc other;
    const MemoryImage before = other.image();
    CProductInfoDlg dlg;
    dlg.show();
    QCOMPARE(dlg.m_comboType->count(), 2);
    dlg.m_comboType->setCurrentIndex(1);
    dlg.OnSelChangeType();
    const QString title = g_strMainTitle;
    QTest::mouseClick(button(dlg, 1), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(other.image() == before);
    // Nor the user's last choice or the caption: nothing was set.
    const UserStore userStore = UserStore::fromSettings();
    QCOMPARE(userStore.read("Type", 77u), 77u);
    QCOMPARE(userStore.read("Field", 77u), 77u);
    QCOMPARE(g_strMainTitle, title);

    // A view that went away is not written.
    auto* doc = new CKQ_517Doc;
    auto* view = new CKQ_517View(doc);
    CProductInfoDlg second;
    second.setTarget(doc, view);
    second.show();
    delete view;
    delete doc;
    second.accept();
    QCOMPARE(second.result(), int(QDialog::Accepted));
}

void TestOptions::productHelp_data()
{
    QTest::addColumn<int>("control");
    for (int id : {1013, 1014, 1, 2})
        QTest::addRow("%d", id) << id;
}

void TestOptions::productHelp()
{
    QFETCH(int, control);
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kTwoModels));
    QVERIFY(dir.openSettingsAndLanguage(false));
    CKQ_517Doc doc;
    CProductInfoDlg dlg;
    dlg.setTarget(&doc, nullptr);
    dlg.show();
    auto* widget = dlg.findChild<QWidget*>(LanguageModule::controlName(control));
    QVERIFY(widget);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_F1);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().last().context, control);
    QCOMPARE(HelpLauncher::requests().last().file, g_strHelpFile);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"

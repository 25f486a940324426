#pragma once
// What the window tests of the radio link start from: a channel view on a new
// document in a workspace, a program directory whose settings file maps COM
// names to ports (the simulated radio's, or a test's own), the English
// language module and a temporary per-user store. A test class derives from
// it and calls the checks from its own slots:
//
//   QVERIFY(setUpView({{"COM1", sim.devicePath()}}));
//   m_view->OnProgramRead();
//   QVERIFY(pressOkAndRun());
//   ...
//   tearDownView();   // in cleanup()

#include <QByteArray>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class CKQ_517Doc;
class CKQ_517View;
class MemoryImage;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTemporaryDir;
class SimProcess;
class TempProgramDir;
class TempUserStore;

class RadioViewFixture {
public:
    RadioViewFixture();
    ~RadioViewFixture();

    // extraSetup: lines put at the start of [Setup] (more models, for one).
    // False when a step failed.
    bool setUpView(const QMap<QString, QString>& ports, const QByteArray& extraSetup = QByteArray());
    // Saves image as <dir>/radio.dat, starts the simulated radio on it with
    // the further arguments and sets the view up with COM1 on that radio
    // (and m_radioSetup as the extra [Setup] lines).
    // False (with a warning saying why) when a step failed.
    bool setUpRadio(SimProcess& sim, const QTemporaryDir& dir, const MemoryImage& image,
                    const QStringList& args = {});
    // A new view on a new document, in a new workspace.
    bool makeView();
    void tearDownView();

    // A button of the Process dialog's window (nullptr without one).
    QPushButton* processButton(int id) const;
    // Presses OK in the Process dialog and runs the transfer it posts. False
    // when OK was missing or disabled, or stayed enabled after the press.
    bool pressOkAndRun();

    QByteArray m_radioSetup;
    std::unique_ptr<TempUserStore> m_store;
    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<QMdiArea> m_area;
    std::unique_ptr<CKQ_517Doc> m_doc;
    QPointer<CKQ_517View> m_view;
    QPointer<QMdiSubWindow> m_frame;
};

// Bytes of a packed frequency (units of 10 Hz, digit pairs, least significant first).
void putFrequency(std::uint8_t* at, int units);
// The rows of an image that travel to and from the radio.
QByteArray radioBytes(const MemoryImage& image);

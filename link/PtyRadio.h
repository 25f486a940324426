#pragma once
// A simulated radio on a pseudo-terminal: the host opens the terminal's device
// like a serial port, the SimulatedRadio answers. Output is paced at a baud
// rate (10 bits per byte) and every byte the host sends counts its time on the
// line too, so a transfer takes about as long as over a real cable. Each
// answer reaches the host whole, when its last byte would have: a busy machine
// can delay an answer but never split it. POSIX only.

#include <QString>

#include <atomic>

#include "codeplug/MemoryImage.h"

class SimulatedRadio;

class PtyRadio {
public:
    struct Options {
        int baud = 9600;     // 0: no pacing
        QString savePath;    // saved (atomically) after every completed write
        QString linkPath;    // a symbolic link to the device, made on start
    };

    PtyRadio(SimulatedRadio& radio, const Options& options);
    ~PtyRadio();  // closes the terminal and removes the link

    // Creates the terminal (raw mode) and the link; false with *error on failure.
    bool start(QString* error);
    QString devicePath() const { return m_devicePath; }

    // Serves transfers until *stop turns true or the line vanishes (a fault).
    // Returns false when the terminal broke, with *error, or when saving
    // failed, with saveProblem() saying why (and *error empty).
    bool run(const std::atomic<bool>& stop, QString* error);
    const ImageFileProblem& saveProblem() const { return m_saveProblem; }

private:
    void closeTerminal();
    bool answer(const QByteArray& bytes, int turnaroundMs, const std::atomic<bool>& stop);

    SimulatedRadio& m_radio;
    Options m_options;
    int m_master = -1;
    int m_slave = -1;  // held open so the host's close is no hang-up for the master
    QString m_devicePath;
    ImageFileProblem m_saveProblem;
    bool m_linkMade = false;
    long long m_byteNs = 0;   // one byte on the line
    long long m_rxFree = 0;   // when the line from the host is free (monotonic ns)
    long long m_txFree = 0;   // when the line to the host is free
};

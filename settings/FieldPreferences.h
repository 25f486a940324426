#pragma once
// The writing options of the program, kept per user (UserStore): back up the
// radio before a write (into a folder), read back and compare after it, and
// record every byte of a transfer into a trace file. All off by default.

#include <QString>

class UserStore;

struct FieldPreferences {
    bool backup = false;
    QString backupFolder;
    bool verify = false;
    bool trace = false;
    QString traceFile;

    // True when any option changes what a transfer does.
    bool anySet() const { return backup || verify || trace; }
    // The folder a backup goes to (empty when no backup is wanted).
    QString backupDir() const { return backup ? backupFolder : QString(); }
    // The trace file to record (empty when no trace is wanted).
    QString tracePath() const { return trace ? traceFile : QString(); }

    static FieldPreferences load(const UserStore& store);
    void save(UserStore& store) const;

    bool operator==(const FieldPreferences&) const = default;
};

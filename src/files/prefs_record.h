#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace quill {

// The preferences file prefs.cfg: one 38-byte record at its start. A flag or the mode is
// on for the byte 1 only; every byte is kept as read until a write of the dialog sets its
// four.
struct TPrefsRecord {
    static constexpr qsizetype Size = 38;
    enum Offset : std::size_t {
        ShowTips = 0,
        StartCount1 = 1,
        CodeMode = 2,
        CheckUpdates = 3,
        StartCount2 = 4,
        ShowWizard = 5,
        // 32 bytes that no feature reads or changes.
        Reserved = 6,
    };
    std::array<std::uint8_t, Size> bytes{};

    friend bool operator==(const TPrefsRecord &, const TPrefsRecord &) = default;
};

// What the record asks for. The defaults are the Preferences dialog's initial states,
// which also stand for a file that cannot be read.
struct Preferences {
    bool showTips = true;
    bool checkUpdates = false;
    bool metaOnly = false;
    bool showWizard = false;

    friend bool operator==(const Preferences &, const Preferences &) = default;
};

Preferences preferencesOf(const TPrefsRecord &record);

// Sets the four preferences as the dialog's OK stores them: each flag as 1 or 0, the
// mode as 1 (meta tag code only) or 2. The counters and reserved bytes stay.
void storePreferences(TPrefsRecord &record, const Preferences &prefs);

// Counts one start: both counters one up, 255 wrapping to 0.
void countStart(TPrefsRecord &record);

// Reads the record from the first 38 bytes of a regular file; a shorter file fails
// with "Read beyond end of file".
bool loadPrefsFile(const QString &path, TPrefsRecord *record, QString *error);

// Writes the record over the file's first 38 bytes; the bytes after them stay. The file
// belongs to the installation: a missing one is never created and a read-only one (no
// write permission bit at all) never replaced, whoever runs the program. It is replaced
// whole or left as it was; only where its folder takes no new file are the bytes written
// over the old ones, which go back should that fail part-way. Every write takes its turn
// with the other writers of the file, in this process or another.
bool savePrefsFile(const QString &path, const TPrefsRecord &record, QString *error);

// Reads the record, lets `change` change it and writes it back, with no other write of
// the file in between: starts of the program at the same moment each count. Fails as
// loadPrefsFile, then as savePrefsFile does.
bool updatePrefsFile(const QString &path, const std::function<void(TPrefsRecord &)> &change,
                     QString *error);

} // namespace quill

#pragma once

#include <QString>

namespace pemo {

// The program folder: the folder named by the environment variable PEMO_HOME when it
// is set (tests, installed copies), else the running executable's folder. No trailing
// separator.
QString programFolder();

// This run's own folder inside programFolder() + "/PEMO-TEMP" (a new UUID, guarded by
// the lock file "<UUID>.lock" beside it that the run holds while it lives), created when
// missing. When the program folder cannot be written (an installed copy run directly),
// inside userWorkingFolder() + "/PEMO-TEMP" instead, so documents with pictures still
// open and print. PEMO-TEMP itself stays; a run that ends normally removes its folder
// when it is empty.
QString tempFolder();

// Removes the folders in PEMO-TEMP of runs that are no longer alive (killed, crashed),
// with the picture copies they hold; folders of running copies of the program are left
// alone. Returns how many went.
int removeLeftoverTempCopies();

// The per-user folder the program falls back on: $XDG_CACHE_HOME/pemo (~/.cache/pemo).
QString userWorkingFolder();

// Where the program keeps the recovery copies of unsaved documents, one per running copy
// of the program: $XDG_DATA_HOME/pemo/recovery (~/.local/share/pemo/recovery). Unlike the
// cache, nothing there is thrown away behind the program's back. Not created here.
QString recoveryFolder();

// Creates the temp folder if it is missing; a failure shows up when the caller then
// fails to create its file.
void ensureTempFolder();

// A new UUID in its 36-character hyphenated lower-case form.
QString newUniqueName();

// Clears a read-only attribute, then deletes the file. True when the file existed and
// was deleted.
bool deleteFileForced(const QString& path);

// Makes an existing file writable; always reports success.
bool makeWritable(const QString& path);

// Turns a text taken from a file (a picture key, a name, an extension) into something
// that can only name a file inside one folder: separators, "..", control characters
// and characters not allowed in file names become "_".
QString safeFileNamePart(const QString& text);

}  // namespace pemo

// Where a copy of the program keeps its files on Linux.
//
// The program writes two small ini files into "its folder". A copy run from
// a folder of its own (a build folder, an unpacked archive, a USB stick)
// keeps them beside its executable, as it always did: such a portable copy
// carries its settings along. An installed copy cannot: /usr/bin is no place
// for a user's settings, and not writable by users anyway. It keeps the same
// files under the same names in the user's configuration folder,
// $XDG_CONFIG_HOME/kestrix/ (~/.config/kestrix/ by default), which is made
// when the first file is written there.
//
// A copy counts as installed when its executable lies in the bin folder of
// an installation (a folder "bin" beside a "share/kestrix"), whoever runs it,
// root included. A copy whose folder the user cannot write to is treated the
// same way, so that its settings survive too.
//
// Read-only files (help) lie beside the executable of a portable copy and in
// share/kestrix of the installation for an installed one.
#pragma once

#include <QString>

struct ProgramFolders {
    QString Executable; // the folder of the executable
    QString Program;    // where the program writes its files
    QString Data;       // where its read-only files lie
    bool Installed = false;
};

// The user's folders the answer depends on, as the environment gives them.
struct UserFolders {
    QString ConfigHome; // $XDG_CONFIG_HOME (used only when absolute)
    QString Home;       // $HOME, else the home folder of the user's account
};

// The folders of a copy whose executable lies in executableFolder. Every
// folder ends with '/'. Without a usable configuration folder (no home at
// all), a copy that would need one writes beside its executable, where the
// refused writes are reported.
ProgramFolders LocateProgramFolders(const QString& executableFolder, const UserFolders& user);

// The folders of the running user.
UserFolders CurrentUserFolders();

// Makes a folder and the parents it lacks, each only readable by the user
// (0700, as the configuration folder's parent should be when it is made).
// True when the folder exists afterwards.
bool MakeFolder(const QString& folder);

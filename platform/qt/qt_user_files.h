// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "platform/services.h"

namespace platform::qt {

// The kept boards live in the user's state folder ($XDG_STATE_HOME/kaleidomat,
// normally ~/.local/state/kaleidomat) as ordinary board files named
// board-<copy>-n<number>.hxa, where <copy> (<pid>-<start time>) names the
// running copy that kept it and <number> counts every keeping in the folder:
// each is one more than the highest there, so the highest number is the board
// kept last, whatever the files' dates say. A copy keeps one board: once its
// newer board is there and readable, its older one goes. Its lock file,
// board-<copy>.lock, it holds locked (flock) while it runs; the system drops
// the lock when the process ends in any way, kill -9 included, so a board
// whose lock is free (or gone) belongs to a copy that has ended.
//
// Restoring takes the newest board that reads as a board (a truncated file or
// one over 64 MiB is passed over). A copy that starts keeping removes the
// boards of ended copies except the newest readable one, and never touches the
// board of a running copy. Boards named board-<copy>.hxa, without a number,
// come from before the numbering: they count as older than any numbered one
// and among themselves by their dates.
//
// The user's patterns live in the data folder: ~/.local/share/kaleidomat/patterns.
class QtUserFiles : public platform::UserFiles {
public:
    QtUserFiles();
    ~QtUserFiles() override;
    QtUserFiles(const QtUserFiles&) = delete;
    QtUserFiles& operator=(const QtUserFiles&) = delete;

    std::string keptBoardFile() override;
    std::string lastKeptBoard() override;
    void callLater(int milliseconds, std::function<void()> due) override;
    std::string patternFolder() override;
    bool makePatternFolder() override;

    // The folder of the kept boards.
    static QString stateFolder();

private:
    bool claimOwnFile();
    void dropOwnOlderBoards();

    QObject timers_;   // the pending calls go with the service
    QString ownCopy_;  // board-<copy>, "" until the first keeping
    uint64_t lastNumber_ = 0;
    int lockDescriptor_ = -1;
};

}  // namespace platform::qt

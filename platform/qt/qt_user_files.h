// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "platform/services.h"

namespace platform::qt {

// The kept boards live in the user's state folder ($XDG_STATE_HOME/kaleidomat,
// normally ~/.local/state/kaleidomat), one file per running copy:
// board-<pid>-<start time>.hxa, with a lock file of the same name ending in
// .lock that the copy holds locked (flock) while it runs. The system drops
// the lock when the process ends in any way, kill -9 included, so a board
// whose lock is free (or gone) belongs to a copy that has ended. A copy that
// starts keeping removes the boards of ended copies except the newest one,
// and never touches the board of a running copy.
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

    QObject timers_;    // the pending calls go with the service
    QString ownBoard_;  // "" until the first keeping
    int lockDescriptor_ = -1;
};

}  // namespace platform::qt

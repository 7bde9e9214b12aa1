#pragma once

#include <QStringList>

// The exam room under load: N seat processes, each the real draw, paper
// store, answer commit, record and hand-in code without the windows,
// started together on one PostgreSQL server on this machine, then on one
// shared SQLite file (WAL). Prints the table of the README.
//   examora-bench --room [N] [--pace MS]
int RunRoomBench(const QStringList &args);

// One seat: examora-bench seat FOLDER START_FILE ANSWERS PACE_MS
int RunSeat(const QStringList &args);

#pragma once
// Two small procedures the rest of the program calls.
//
// WaitSeconds waits while the window system keeps running, so that windows
// paint during the start-up delay. It measures the wait as a difference of
// two times of day, which restart from 0 at midnight; a wait that starts in
// the last five seconds of the day is therefore skipped.
//
// MakeDirPath creates the missing levels of a directory path, level by level,
// before a received file is renamed inside it.

#include <string>

class Clock;

void WaitSeconds(float seconds, Clock& clock);

// Levels are separated by the platform's separator (FileOps::Separator()).
// The first level is taken as given and never created (it is the root, or
// the drive). Empty levels from a doubled or final separator name a level
// that exists already. Returns false when a level could not be created (for
// example because a file of that name is in the way); the levels before it
// stay created.
bool MakeDirPath(const std::string& path);

#pragma once
// The default send and receive folders, "send" and "recv" in the user's home,
// are created at start when the settings name them (or name no folder yet)
// and they do not exist, so that the very first transfer finds them. A folder
// the operator chose is never created here: a missing one is a mistake to
// show (the transfer reports it), not to hide.

class SettingsStore;

void CreateDefaultDirs(const SettingsStore& store);
